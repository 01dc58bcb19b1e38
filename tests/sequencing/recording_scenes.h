// Scenes whose callbacks write what they were called for into one shared record, so tests can see
// which callbacks a frame ran, for which time and in which order.
#pragma once

#include <string>
#include <vector>

#include "sequencing/music_state.h"
#include "sequencing/scene.h"
#include "sequencing/timeline.h"

inline std::vector<std::string> callRecord;

template <char Id>
void RecordInit() { callRecord.push_back(std::string("init ") + Id + " " + std::to_string(musicTime)); }
template <char Id>
void RecordRender() { callRecord.push_back(std::string("render ") + Id + " " + std::to_string(musicTime)); }
template <char Id>
void RecordDone() { callRecord.push_back(std::string("done ") + Id + " " + std::to_string(musicTime)); }

template <char Id>
Scene RecordingScene(const std::string& name) {
  return Scene(name, RecordInit<Id>, RecordRender<Id>, RecordDone<Id>);
}

// Runs one frame's timeline steps at `time` and returns what they called.
inline std::vector<std::string> FrameAt(std::int32_t time) {
  callRecord.clear();
  musicTime = time;
  RunFrameSlots();
  RunDoneSlots();
  return callRecord;
}

// Empty tables and music state before and after each test.
struct CleanSequencing {
  CleanSequencing() { Reset(); }
  ~CleanSequencing() { Reset(); }
  static void Reset() {
    sceneTable.Clear();
    timelineTable.Clear();
    ResetMusicState();
    callRecord.clear();
  }
};
