// A one-line progress bar on standard error: frames done / total, frames per second, time left.
//
// It draws only when standard error is a terminal, at most a few times a second, and ends its line
// when the work is done.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

// The line for `done` of `total` frames after `seconds`, `width` characters of bar.
std::string ProgressLine(std::int64_t done, std::int64_t total, double seconds, int width);

class ProgressBar {
 public:
  ProgressBar(std::int64_t total, bool enabled);
  void Update(std::int64_t done);
  void Finish();

 private:
  using Clock = std::chrono::steady_clock;
  double Elapsed() const;

  std::int64_t total_;
  bool enabled_;
  Clock::time_point start_ = Clock::now();
  Clock::time_point lastDrawn_{};
  std::int64_t done_ = 0;
};

bool StandardErrorIsTerminal();

// The frames one process has drawn: shown on its bar, and, in a worker of a render with --jobs, told
// to the main process one byte a frame through `progressFd` (-1: none).
class FrameCounter {
 public:
  FrameCounter(std::int64_t total, int progressFd, bool showBar);
  void FrameDone();
  void Finish() { bar_.Finish(); }

 private:
  ProgressBar bar_;
  int progressFd_;
  std::int64_t done_ = 0;
};
