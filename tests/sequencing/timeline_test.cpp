// The millisecond timeline: its size limit, what construction fills, where placements write, and the
// order in which a frame calls the slots.
#include <gtest/gtest.h>

#include "tests/sequencing/recording_scenes.h"

namespace {

class TimelineTest : public ::testing::Test {
 protected:
  CleanSequencing clean;
};

TEST_F(TimelineTest, SizeUpToTheCapacityIsAcceptedAndAboveItRefused) {
  std::unique_ptr<Timeline> made;
  EXPECT_FALSE(MakeTimeline("Largest", 600000, made));
  ASSERT_TRUE(made);
  EXPECT_EQ(made->renderSlots[600000], &DoNothing);
  std::unique_ptr<Timeline> refused;
  const MaybeFailure failure = MakeTimeline("TooBig", 600001, refused);
  ASSERT_TRUE(failure);
  EXPECT_EQ(*failure, Failure::Fatal("zenTimeline", "Timeline is too big for buffer!"));
  EXPECT_FALSE(refused);
}

TEST_F(TimelineTest, ConstructionFillsSlotsUpToSizeWithDoNothingAndLeavesTheRestEmpty) {
  const Timeline& timeline = NewTimeline(1, 99890);
  EXPECT_EQ(timeline.sceneMarker, 0);
  for (std::int32_t time : {0, 1, 50000, 99890}) {
    EXPECT_EQ(timeline.initSlots[time], &DoNothing) << time;
    EXPECT_EQ(timeline.renderSlots[time], &DoNothing) << time;
    EXPECT_EQ(timeline.doneSlots[time], &DoNothing) << time;
  }
  EXPECT_EQ(timeline.renderSlots[99891], nullptr);
  EXPECT_EQ(timeline.doneSlots[600000], nullptr);
  EXPECT_EQ(NewTimeline(2, -5).initSlots[0], nullptr);
}

TEST_F(TimelineTest, PlacementsWriteInitFor101MillisecondsAndLaterOnesWin) {
  Timeline& timeline = NewTimeline(1, 99890);
  sceneTable[1] = RecordingScene<'A'>("A");
  sceneTable[2] = RecordingScene<'B'>("B");
  sceneTable[3] = RecordingScene<'C'>("C");
  PlaceScene(timeline, *sceneTable[1], 1000, 5000);
  PlaceScene(timeline, *sceneTable[2], 5000, 9000);   // meets A at 5000
  PlaceScene(timeline, *sceneTable[3], 20000, 20050);  // init reaches past its end
  PlaceScene(timeline, *sceneTable[3], 30000, 29000);  // end before start: init slots only
  const struct {
    std::int32_t time;
    Calls calls;
  } frames[] = {
      {999, {}},
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
  };
  for (const auto& frame : frames) EXPECT_EQ(FrameAt(frame.time), frame.calls) << frame.time;
}

TEST_F(TimelineTest, TimelinesRunInSlotOrderAndDoneSlotsComeAfterAllRenders) {
  sceneTable[1] = RecordingScene<'A'>("A");
  sceneTable[2] = RecordingScene<'C'>("C");
  PlaceScene(NewTimeline(3, 1000), *sceneTable[2], 0, 500);
  PlaceScene(NewTimeline(1, 1000), *sceneTable[1], 0, 500);
  EXPECT_EQ(FrameAt(10),
            (Calls{"init A 10", "render A 10", "init C 10", "render C 10", "done A 10", "done C 10"}));
}

TEST_F(TimelineTest, TimesOutsideTheTimelineOrInEmptySlotsCallNothing) {
  sceneTable[1] = RecordingScene<'A'>("A");
  PlaceScene(NewTimeline(1, 1000), *sceneTable[1], 599899, 600000);
  for (std::int32_t time : {-1, 1001, 300000, 600001, 2147483647, -2147483647 - 1}) {
    EXPECT_EQ(FrameAt(time), Calls{}) << time;
  }
  EXPECT_EQ(FrameAt(600000), (Calls{"init A 600000", "render A 600000", "done A 600000"})) << "the span's first frame";
  EXPECT_EQ(FrameAt(600000), (Calls{"render A 600000", "done A 600000"}));
}

// Frames more than 101 ms apart, or a first frame in the middle of a span (a seek), still set the
// scene up once; frames inside the first 101 ms call nothing more than the init slots did.
TEST_F(TimelineTest, TheFirstFrameOfASpanCallsItsInitOnceWhereTheInitSlotsMissedIt) {
  Timeline& timeline = NewTimeline(1, 99890);
  sceneTable[1] = RecordingScene<'A'>("A");
  sceneTable[2] = RecordingScene<'B'>("B");
  sceneTable[3] = RecordingScene<'C'>("C");
  PlaceScene(timeline, *sceneTable[1], 1000, 5000);
  PlaceScene(timeline, *sceneTable[2], 5001, 9000);
  PlaceScene(timeline, *sceneTable[3], 9001, 9500);
  const struct {
    std::int32_t time;
    Calls calls;
  } frames[] = {
      {1050, {"init A 1050", "render A 1050", "done A 1050"}},
      {1100, {"init A 1100", "render A 1100", "done A 1100"}},
      {1150, {"render A 1150", "done A 1150"}},
      {5200, {"init B 5200", "render B 5200", "done B 5200"}},  // the init slots of B were passed over
      {5350, {"render B 5350", "done B 5350"}},
      {9050, {"init C 9050", "render C 9050", "done C 9050"}},
  };
  for (const auto& frame : frames) EXPECT_EQ(FrameAt(frame.time), frame.calls) << frame.time;
  EXPECT_EQ(CaptureTimelineRunState().initsCalled[0], (std::vector<bool>{true, true, true}));
}

TEST_F(TimelineTest, TheRunStateComesBackAsItWasTaken) {
  Timeline& timeline = NewTimeline(1, 99890);
  sceneTable[1] = RecordingScene<'A'>("A");
  PlaceScene(timeline, *sceneTable[1], 1000, 5000);
  const TimelineRunState fresh = CaptureTimelineRunState();
  timeline.sceneMarker = 80;
  FrameAt(3000);
  EXPECT_EQ(CaptureTimelineRunState().markers[0], 80);
  RestoreTimelineRunState(fresh);
  EXPECT_TRUE(CaptureTimelineRunState() == fresh);
  EXPECT_EQ(FrameAt(3000), (Calls{"init A 3000", "render A 3000", "done A 3000"})) << "the span is set up again";
}

TEST_F(TimelineTest, ASpanFitsWhenItsInitAndEndStayInsideTheCapacity) {
  const struct {
    std::int32_t start, end;
    bool fits;
  } spans[] = {{0, 0, true},           {599900, 600000, true}, {-1, 10, false},
               {599901, 599950, false}, {0, 600001, false},     {2147483647, 2147483647, false}};
  for (const auto& span : spans) EXPECT_EQ(SpanFitsTimeline(span.start, span.end), span.fits) << span.start;
}

}  // namespace
