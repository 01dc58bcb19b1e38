#include "sequencing/timeline.h"

#include <gtest/gtest.h>

#include "base/failure_trap.h"
#include "tests/sequencing/recording_scenes.h"

namespace {

using Calls = std::vector<std::string>;

class TimelineTest : public ::testing::Test {
 protected:
  CleanSequencing clean;
};

TEST_F(TimelineTest, SizeUpToTheCapacityIsAcceptedAndAboveItRefused) {
  FailureTrap trap;
  Timeline largest("Largest", 600000);
  EXPECT_EQ(largest.size, 600000);
  EXPECT_EQ(largest.renderSlots[600000], &DoNothing);
  try {
    Timeline tooBig("TooBig", 600001);
    FAIL() << "a size of 600001 was accepted";
  } catch (const FatalErrorRaised& error) {
    EXPECT_EQ(error.module, "zenTimeline");
    EXPECT_EQ(error.message, "Timeline is too big for buffer!");
  }
}

TEST_F(TimelineTest, ConstructionFillsSlotsUpToSizeWithDoNothingAndLeavesTheRestEmpty) {
  Timeline timeline("Timeline1", 99890);
  EXPECT_EQ(timeline.name, "Timeline1");
  EXPECT_EQ(timeline.sceneMarker, 0);
  for (std::int32_t time : {0, 1, 50000, 99890}) {
    EXPECT_EQ(timeline.initSlots[time], &DoNothing) << time;
    EXPECT_EQ(timeline.renderSlots[time], &DoNothing) << time;
    EXPECT_EQ(timeline.doneSlots[time], &DoNothing) << time;
  }
  EXPECT_EQ(timeline.renderSlots[99891], nullptr);
  EXPECT_EQ(timeline.doneSlots[600000], nullptr);

  Timeline negative("Negative", -5);
  EXPECT_EQ(negative.initSlots[0], nullptr);
}

TEST_F(TimelineTest, InitCoversTheFirst101MillisecondsWhateverTheEnd) {
  timelineTable[1] = std::make_unique<Timeline>("Timeline1", 99890);
  PlaceScene(*timelineTable[1], RecordingScene<'A'>("A"), 1000, 1050);

  EXPECT_EQ(FrameAt(999), Calls{});
  EXPECT_EQ(FrameAt(1000), (Calls{"init A 1000", "render A 1000", "done A 1000"}));
  EXPECT_EQ(FrameAt(1050), (Calls{"init A 1050", "render A 1050", "done A 1050"}));
  EXPECT_EQ(FrameAt(1051), Calls{"init A 1051"});
  EXPECT_EQ(FrameAt(1100), Calls{"init A 1100"});
  EXPECT_EQ(FrameAt(1101), Calls{});
}

TEST_F(TimelineTest, ALaterPlacementWinsTheMillisecondsItShares) {
  timelineTable[1] = std::make_unique<Timeline>("Timeline1", 99890);
  PlaceScene(*timelineTable[1], RecordingScene<'A'>("A"), 0, 5000);
  PlaceScene(*timelineTable[1], RecordingScene<'B'>("B"), 5000, 9000);

  EXPECT_EQ(FrameAt(4999), (Calls{"render A 4999", "done A 4999"}));
  EXPECT_EQ(FrameAt(5000), (Calls{"init B 5000", "render B 5000", "done B 5000"}));
  EXPECT_EQ(FrameAt(50), (Calls{"init A 50", "render A 50", "done A 50"}));
}

TEST_F(TimelineTest, AnEndBeforeTheStartPlacesOnlyTheInitSlots) {
  timelineTable[1] = std::make_unique<Timeline>("Timeline1", 99890);
  PlaceScene(*timelineTable[1], RecordingScene<'A'>("A"), 2000, 1000);
  EXPECT_EQ(FrameAt(1500), Calls{});
  EXPECT_EQ(FrameAt(2000), Calls{"init A 2000"});
}

TEST_F(TimelineTest, TimelinesRunInSlotOrderAndDoneSlotsComeAfterAllRenders) {
  timelineTable[3] = std::make_unique<Timeline>("Third", 1000);
  timelineTable[1] = std::make_unique<Timeline>("First", 1000);
  PlaceScene(*timelineTable[3], RecordingScene<'C'>("C"), 0, 500);
  PlaceScene(*timelineTable[1], RecordingScene<'A'>("A"), 0, 500);

  EXPECT_EQ(FrameAt(10),
            (Calls{"init A 10", "render A 10", "init C 10", "render C 10", "done A 10", "done C 10"}));
}

TEST_F(TimelineTest, TimesOutsideTheTimelineOrInEmptySlotsCallNothing) {
  timelineTable[1] = std::make_unique<Timeline>("Timeline1", 1000);
  PlaceScene(*timelineTable[1], RecordingScene<'A'>("A"), 599899, 600000);
  for (std::int32_t time : {-1, 1001, 300000, 600001, 2147483647, -2147483647 - 1}) {
    EXPECT_EQ(FrameAt(time), Calls{}) << time;
  }
  EXPECT_EQ(FrameAt(600000), (Calls{"render A 600000", "done A 600000"}));
}

}  // namespace
