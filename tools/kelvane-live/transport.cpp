#include "tools/kelvane-live/transport.h"

#include <algorithm>
#include <cmath>

namespace {

std::int32_t StepOf(bool shift, bool ctrl) { return ctrl ? 10000 : shift ? 100 : 1000; }

}  // namespace

void Transport::SetSceneStarts(std::vector<std::int32_t> starts) {
  std::sort(starts.begin(), starts.end());
  starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
  sceneStarts_ = std::move(starts);
}

bool Transport::MoveTo(std::int64_t time) {
  state_.time = static_cast<std::int32_t>(std::clamp<std::int64_t>(time, 0, std::max(last_, 0)));
  return true;
}

bool Transport::Played(std::int32_t time) {
  const bool loop = state_.looping && state_.loopIn && state_.loopOut && *state_.loopIn < *state_.loopOut;
  if (loop && time >= *state_.loopOut) return MoveTo(*state_.loopIn);
  if (time > last_) {
    state_.paused = true;
    return MoveTo(last_);
  }
  state_.time = std::max(time, 0);
  return false;
}

bool Transport::Key(InputKey key, bool shift, bool ctrl) {
  const std::int32_t now = state_.time;
  switch (key) {
    case InputKey::Space: state_.paused = !state_.paused; return false;
    case InputKey::Left: return MoveTo(std::int64_t(now) - StepOf(shift, ctrl));
    case InputKey::Right: return MoveTo(std::int64_t(now) + StepOf(shift, ctrl));
    case InputKey::Home: return MoveTo(0);
    case InputKey::End: return MoveTo(last_);
    case InputKey::PageUp: {
      const auto later = std::lower_bound(sceneStarts_.begin(), sceneStarts_.end(), now);
      return later == sceneStarts_.begin() ? MoveTo(0) : MoveTo(*std::prev(later));
    }
    case InputKey::PageDown: {
      const auto later = std::upper_bound(sceneStarts_.begin(), sceneStarts_.end(), now);
      return later == sceneStarts_.end() ? false : MoveTo(*later);
    }
    case InputKey::I: state_.loopIn = now; return false;
    case InputKey::O: state_.loopOut = now; return false;
    case InputKey::L: state_.looping = !state_.looping; return false;
    case InputKey::H: state_.hudShown = !state_.hudShown; return false;
    case InputKey::Escape: state_.quit = true; return false;
    default: return false;
  }
}

bool Transport::ClickOnBar(double fraction) {
  return MoveTo(std::llround(std::clamp(fraction, 0.0, 1.0) * std::max(last_, 0)));
}
