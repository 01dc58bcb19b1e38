#include "platform/internal/sound_clock.h"

#include <algorithm>
#include <cmath>

namespace {

// A disagreement is worked off over this many milliseconds of playing...
constexpr double kCorrectionMs = 250.0;
// ...by running at most this much faster or slower than the steady clock,
constexpr double kMaxRateChange = 0.2;
// and one larger than this re-anchors the clock.
constexpr double kReanchorMs = 150.0;

double MillisecondsBetween(PlaybackClock::Time from, PlaybackClock::Time to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

}  // namespace

void PlaybackClock::Start(Time now) { Restart(0.0, now); }

void PlaybackClock::Restart(double ms, Time now) {
  running_ = true;
  anchorTime_ = now;
  anchorMs_ = ms;
  rate_ = 1.0;
  lastRead_ = ms;
}

double PlaybackClock::PredictedAt(Time at) const {
  return anchorMs_ + rate_ * MillisecondsBetween(anchorTime_, at);
}

void PlaybackClock::Observe(double heardMs, Time at) {
  if (!running_) return;
  const double predicted = PredictedAt(at);
  const double error = heardMs - predicted;
  anchorTime_ = at;
  if (error > kReanchorMs) {
    anchorMs_ = heardMs;
    rate_ = 1.0;
  } else if (error < -kReanchorMs) {
    anchorMs_ = predicted;
    rate_ = 0.0;  // hold until what is heard catches up
  } else {
    anchorMs_ = predicted;
    rate_ = 1.0 + std::clamp(error / kCorrectionMs, -kMaxRateChange, kMaxRateChange);
  }
}

double PlaybackClock::Read(Time now) {
  if (!running_) return 0.0;
  lastRead_ = std::max(lastRead_, PredictedAt(now));
  return lastRead_;
}
