// Scenes whose callbacks write what they were called for into one shared record, so tests can see
// which callbacks a frame ran, for which time and in which order; and the script's trace in memory.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "sequencing/sequencing.h"

using Calls = std::vector<std::string>;
inline Calls callRecord;

template <char Id>
void Record(const char* what) { callRecord.push_back(what + std::string(1, Id) + " " + std::to_string(musicTime)); }

template <char Id>
std::unique_ptr<Scene> RecordingScene(const std::string& name) {
  return std::make_unique<Scene>(name, [] { Record<Id>("init "); }, [] { Record<Id>("render "); },
                                 [] { Record<Id>("done "); });
}

// Runs one frame's timeline steps at `time` and returns what they called.
inline Calls FrameAt(std::int32_t time) {
  callRecord.clear();
  musicTime = time;
  RunFrameSlots();
  RunDoneSlots();
  return callRecord;
}

inline Timeline& NewTimeline(std::int32_t slot, std::int32_t size) {
  const MaybeFailure failure = MakeTimeline("Timeline" + std::to_string(slot), size, timelineTable[slot]);
  if (failure) throw std::runtime_error(failure->Text());
  return *timelineTable[slot];
}

// The trace as "debug.txt" would hold it.
struct MemoryTrace : ScriptLog {
  void Line(std::string_view line, std::int32_t number) override {
    WholeLine(std::string(line.substr(0, kMaxLogText)).c_str(), number);
  }
  void WholeLine(const char* line, std::int32_t number) override {
    text += line + (" | " + std::to_string(number)) + "\r\n";
  }
  std::string text;
};

// Empty tables and music state before and after each test.
struct CleanSequencing {
  CleanSequencing() { Reset(); }
  ~CleanSequencing() { Reset(); }
  static void Reset() { sceneTable.Clear(); timelineTable.Clear(); ResetMusicState(); callRecord.clear(); }
};

// Four scenes in the slots start-up gives them, recording their calls, and the demo's timeline.
class SequencingTest : public ::testing::Test {
 protected:
  SequencingTest() {
    sceneTable[1] = RecordingScene<'1'>("Scene01");
    sceneTable[2] = RecordingScene<'2'>("Scene02");
    sceneTable[3] = RecordingScene<'3'>("Scene05");
    sceneTable[8] = RecordingScene<'8'>("Scene11");
    NewTimeline(1, 99890);
  }

  // Runs `script` and returns the message it failed with ("" when it ran).
  std::string FaultOf(const std::string& script) {
    trace.text.clear();
    const MaybeFailure failure = RunScriptText(script, trace);
    if (!failure) return "";
    EXPECT_EQ(failure->module, "zenTimeline");
    return failure->message;
  }

  CleanSequencing clean;
  MemoryTrace trace;
};
