// The live player's transport: where the playhead is, whether it plays, the loop, the HUD; and what
// each key and each click on the HUD's timeline does to them. Pure: the session turns its answers
// into seeks, pauses and sound.
//
//   Space               pause / play          I, O     loop in / out point at the playhead
//   Left, Right         -1 s / +1 s           L        looping on / off
//     with Shift        -100 ms / +100 ms     H        HUD shown / hidden
//     with Ctrl         -10 s / +10 s         Escape   quit
//   PageUp, PageDown    previous / next scene start of the script
//   Home                0                     a click on the HUD's timeline bar: that time
//
// Times stay within 0 and the last moment the demo shows. With looping on (and the in point before
// the out point), reaching the out point jumps back to the in point.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/window.h"

struct TransportState {
  std::int32_t time = 0;  // ms
  bool paused = false;
  std::optional<std::int32_t> loopIn;
  std::optional<std::int32_t> loopOut;
  bool looping = false;
  bool hudShown = true;
  bool quit = false;
};

class Transport {
 public:
  // `last`: the last moment the demo shows (its music length - 100 ms).
  Transport(TransportState start, std::int32_t last) : state_(start), last_(last) {}

  const TransportState& state() const { return state_; }
  // The scene starts of the script, for PageUp and PageDown.
  void SetSceneStarts(std::vector<std::int32_t> starts);
  void SetLast(std::int32_t last) { last_ = last; }

  // The playhead moved on by playing; true when it jumped (the loop, or the end) and must be sought.
  bool Played(std::int32_t time);
  // A key; true when the time changed and must be sought.
  bool Key(InputKey key, bool shift, bool ctrl);
  // A click on the timeline bar at `fraction` (0 to 1) of its length; true: seek.
  bool ClickOnBar(double fraction);

 private:
  bool MoveTo(std::int64_t time);

  TransportState state_;
  std::int32_t last_;
  std::vector<std::int32_t> sceneStarts_;
};
