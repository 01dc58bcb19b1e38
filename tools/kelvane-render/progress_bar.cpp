#include "tools/kelvane-render/progress_bar.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kBarWidth = 30;
constexpr auto kRedrawInterval = std::chrono::milliseconds(200);

std::string MinutesAndSeconds(double seconds) {
  const long whole = long(std::max(seconds, 0.0) + 0.5);
  char text[32];
  std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
  return text;
}

}  // namespace

std::string ProgressLine(std::int64_t done, std::int64_t total, double seconds, int width) {
  const double fraction = total > 0 ? std::clamp(double(done) / double(total), 0.0, 1.0) : 1.0;
  const int filled = int(fraction * width);
  const double rate = seconds > 0.0 ? double(done) / seconds : 0.0;
  const std::string left = rate > 0.0 ? MinutesAndSeconds(double(total - done) / rate) : "?";
  char numbers[96];
  std::snprintf(numbers, sizeof numbers, " %lld/%lld frames  %.1f fps  %s left", static_cast<long long>(done),
                static_cast<long long>(total), rate, left.c_str());
  // Appended rather than "[" + std::string(...): GCC 12 at -O3 takes a literal put in front of a
  // temporary string for an overlapping copy (-Wrestrict, a false positive).
  std::string line = "[";
  line.append(std::size_t(filled), '#').append(std::size_t(width - filled), '.').append("]").append(numbers);
  return line;
}

ProgressBar::ProgressBar(std::int64_t total, bool enabled) : total_(total), enabled_(enabled) {}

double ProgressBar::Elapsed() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }

void ProgressBar::Update(std::int64_t done) {
  done_ = done;
  if (!enabled_ || Clock::now() - lastDrawn_ < kRedrawInterval) return;
  lastDrawn_ = Clock::now();
  std::fprintf(stderr, "\r%s\033[K", ProgressLine(done, total_, Elapsed(), kBarWidth).c_str());
  std::fflush(stderr);
}

void ProgressBar::Finish() {
  if (!enabled_) return;
  std::fprintf(stderr, "\r%s\033[K\n", ProgressLine(done_, total_, Elapsed(), kBarWidth).c_str());
  std::fflush(stderr);
}

bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

FrameCounter::FrameCounter(std::int64_t total, int progressFd, bool showBar)
    : bar_(total, showBar), progressFd_(progressFd) {}

void FrameCounter::FrameDone() {
  bar_.Update(++done_);
  if (progressFd_ < 0) return;
  const char done = 1;
  // A main process that has gone away cannot be told; the worker ends with it (parallel_render.h).
  [[maybe_unused]] const ssize_t told = write(progressFd_, &done, 1);
}
