#include "platform/internal/sound_silent_output.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// How often the frames that came due are taken: fine enough for a smooth spectrum.
constexpr auto kTick = std::chrono::milliseconds(5);
constexpr std::int64_t kBlockFrames = 4096;

class SilentOutput : public SoundOutput {
 public:
  SilentOutput(std::int32_t mixRate, SoundPull pull) : mixRate_(mixRate), pull_(pull) {
    thread_ = std::thread([this] { Run(); });
  }
  ~SilentOutput() override {
    {
      const std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }

 private:
  void Run() {
    std::vector<float> buffer(2 * kBlockFrames);
    const Clock::time_point start = Clock::now();
    std::int64_t played = 0;
    std::unique_lock lock(mutex_);
    while (!stopping_) {
      lock.unlock();
      const Clock::time_point now = Clock::now();
      const std::int64_t due = std::chrono::duration_cast<std::chrono::microseconds>(now - start).count() *
                               mixRate_ / 1000000;
      while (played < due) {
        const std::int64_t frames = std::min(due - played, kBlockFrames);
        pull_(buffer.data(), static_cast<std::size_t>(frames), 0, now);
        played += frames;
      }
      lock.lock();
      wake_.wait_until(lock, now + kTick, [this] { return stopping_; });
    }
  }

  std::int32_t mixRate_;
  SoundPull pull_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
};

}  // namespace

std::unique_ptr<SoundOutput> OpenSilentOutput(std::int32_t mixRate, SoundPull pull) {
  return std::make_unique<SilentOutput>(mixRate, pull);
}
