// The millisecond timeline: its size limit, where placements write and the set-up a span gets once.
// The script's tests cover which spans fit and the order of the timelines and the done slots.
#include <gtest/gtest.h>

#include "tests/sequencing/recording_scenes.h"

namespace {

using TimelineTest = SequencingTest;

TEST_F(TimelineTest, SizeUpToTheCapacityIsAcceptedAndAboveItRefused) {
  std::unique_ptr<Timeline> made, refused;
  EXPECT_FALSE(MakeTimeline("Largest", 600000, made));
  EXPECT_TRUE(made && made->renderSlots[600000] == &DoNothing && made->sceneMarker == 0);
  EXPECT_EQ(MakeTimeline("TooBig", 600001, refused), Failure::Fatal("zenTimeline", "Timeline is too big for buffer!"));
  EXPECT_FALSE(refused);
}

// A first frame inside a span after its init slots (frames more than 101 ms apart, or a seek) still
// sets the scene up, once; a first frame inside the init slots calls init only once too.
TEST_F(TimelineTest, PlacementsWriteInitFor101MillisecondsLaterOnesWinAndEverySpanIsSetUpOnce) {
  Timeline& timeline = *timelineTable[1];
  PlaceScene(timeline, *sceneTable[2], 40000, 45000);  // first placed, first frame past its init slots
  PlaceScene(timeline, *sceneTable[1], 1000, 5000);
  PlaceScene(timeline, *sceneTable[2], 5000, 9000);      // meets 1 at 5000
  PlaceScene(timeline, *sceneTable[3], 20050, 20050);    // one millisecond, its init reaching past it
  PlaceScene(timeline, *sceneTable[3], 30000, 29000);    // end before start: init slots only
  PlaceScene(timeline, *sceneTable[1], 599899, 600000);  // past the timeline's size, inside its capacity
  const struct {
    std::int32_t time;
    Calls calls;
  } frames[] = {{999, {}},
                {1000, {"init 1 1000", "render 1 1000", "done 1 1000"}},
                {1100, {"init 1 1100", "render 1 1100", "done 1 1100"}},
                {1101, {"render 1 1101", "done 1 1101"}},
                {5000, {"init 2 5000", "render 2 5000", "done 2 5000"}},
                {20050, {"init 3 20050", "render 3 20050", "done 3 20050"}},
                {20051, {"init 3 20051"}},
                {29500, {}},
                {30000, {"init 3 30000"}},
                {40200, {"init 2 40200", "render 2 40200", "done 2 40200"}},
                {40350, {"render 2 40350", "done 2 40350"}},
                {600000, {"init 1 600000", "render 1 600000", "done 1 600000"}},
                {-1, {}}, {600001, {}}, {2147483647, {}}, {-2147483647 - 1, {}}};
  for (const auto& frame : frames) EXPECT_EQ(FrameAt(frame.time), frame.calls) << frame.time;
  EXPECT_EQ(CaptureTimelineRunState().initsCalled[0], (std::vector<bool>{true, true, true, true, false, true}));
}

}  // namespace
