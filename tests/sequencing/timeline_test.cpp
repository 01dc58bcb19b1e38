// The millisecond timeline: its size limit, where placements write and the set-up a span gets once.
// The script's tests cover which spans fit and the order of the timelines and the done slots.
#include <gtest/gtest.h>

#include "tests/sequencing/recording_scenes.h"

namespace {

// Scenes A, B and C in slots 1 to 3.
class TimelineTest : public ::testing::Test {
 protected:
  TimelineTest() {
    sceneTable[1] = RecordingScene<'A'>("A");
    sceneTable[2] = RecordingScene<'B'>("B");
    sceneTable[3] = RecordingScene<'C'>("C");
  }
  CleanSequencing clean;

  struct Frame {
    std::int32_t time;
    Calls calls;
  };
  static void ExpectFrames(std::initializer_list<Frame> frames) {
    for (const Frame& frame : frames) EXPECT_EQ(FrameAt(frame.time), frame.calls) << frame.time;
  }
};

TEST_F(TimelineTest, SizeUpToTheCapacityIsAcceptedAndAboveItRefused) {
  std::unique_ptr<Timeline> made;
  EXPECT_FALSE(MakeTimeline("Largest", 600000, made));
  ASSERT_TRUE(made);
  EXPECT_EQ(made->renderSlots[600000], &DoNothing);
  EXPECT_EQ(made->sceneMarker, 0);
  std::unique_ptr<Timeline> refused;
  EXPECT_EQ(MakeTimeline("TooBig", 600001, refused), Failure::Fatal("zenTimeline", "Timeline is too big for buffer!"));
  EXPECT_FALSE(refused);
}

TEST_F(TimelineTest, PlacementsWriteInitFor101MillisecondsLaterOnesWinAndNothingOutsideIsCalled) {
  Timeline& timeline = NewTimeline(1, 99890);
  PlaceScene(timeline, *sceneTable[1], 1000, 5000);
  PlaceScene(timeline, *sceneTable[2], 5000, 9000);    // meets A at 5000
  PlaceScene(timeline, *sceneTable[3], 20000, 20050);  // init reaches past its end
  PlaceScene(timeline, *sceneTable[3], 30000, 29000);  // end before start: init slots only
  PlaceScene(timeline, *sceneTable[1], 599899, 600000);  // past the timeline's size, inside its capacity
  ExpectFrames({{999, {}},
                {1000, {"init A 1000", "render A 1000", "done A 1000"}},
                {1100, {"init A 1100", "render A 1100", "done A 1100"}},
                {1101, {"render A 1101", "done A 1101"}},
                {4999, {"render A 4999", "done A 4999"}},
                {5000, {"init B 5000", "render B 5000", "done B 5000"}},
                {20050, {"init C 20050", "render C 20050", "done C 20050"}},
                {20051, {"init C 20051"}},
                {20100, {"init C 20100"}},
                {20101, {}},
                {29500, {}},
                {30000, {"init C 30000"}},
                {600000, {"init A 600000", "render A 600000", "done A 600000"}},  // the span's first frame
                {600000, {"render A 600000", "done A 600000"}}});
  for (std::int32_t time : {-1, 600001, 2147483647, -2147483647 - 1}) EXPECT_EQ(FrameAt(time), Calls{}) << time;
}

// Frames more than 101 ms apart, or a first frame in the middle of a span (a seek), still set the
// scene up once; frames inside the first 101 ms call nothing more than the init slots did.
TEST_F(TimelineTest, TheFirstFrameOfASpanCallsItsInitOnceWhereTheInitSlotsMissedIt) {
  Timeline& timeline = NewTimeline(1, 99890);
  PlaceScene(timeline, *sceneTable[1], 1000, 5000);
  PlaceScene(timeline, *sceneTable[2], 5001, 9000);
  PlaceScene(timeline, *sceneTable[3], 9001, 9500);
  ExpectFrames({{1050, {"init A 1050", "render A 1050", "done A 1050"}},
                {1100, {"init A 1100", "render A 1100", "done A 1100"}},
                {1150, {"render A 1150", "done A 1150"}},
                {5200, {"init B 5200", "render B 5200", "done B 5200"}},  // the init slots of B were passed over
                {5350, {"render B 5350", "done B 5350"}},
                {9050, {"init C 9050", "render C 9050", "done C 9050"}}});
  EXPECT_EQ(CaptureTimelineRunState().initsCalled[0], (std::vector<bool>{true, true, true}));
}

}  // namespace
