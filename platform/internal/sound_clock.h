// The playing time as the listener hears it, smooth between the output's updates.
//
// The output reports, at each buffer it takes, which position is being heard at that moment. Those
// reports come in steps (every buffer, about 5 to 25 ms) and jitter with the scheduler. Between them
// the clock runs on the steady clock; a report that disagrees with it changes the rate a little for a
// while instead of moving the time, so reads that follow each other closely (a frame loop at 240 Hz)
// always see a fresh, evenly advancing time. Far off (a stall or a late start) it re-anchors: forward
// at once, or backward by holding still until the sound catches up. Reads never go backwards.
#pragma once

#include <chrono>

class PlaybackClock {
 public:
  using Time = std::chrono::steady_clock::time_point;

  // Playing from position 0 at `now`.
  void Start(Time now);
  // Playing from position `ms` at `now`, whatever was read before: a seek, or play after a pause.
  void Restart(double ms, Time now);
  // The output hears `heardMs` at `at`.
  void Observe(double heardMs, Time at);
  // The time in milliseconds at `now`; 0 before Start.
  double Read(Time now);

 private:
  double PredictedAt(Time at) const;

  bool running_ = false;
  Time anchorTime_{};
  double anchorMs_ = 0.0;
  double rate_ = 1.0;
  double lastRead_ = 0.0;
};
