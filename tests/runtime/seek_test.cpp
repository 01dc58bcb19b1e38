// The seek against the frames it skips: at the moments most likely to break, the frame drawn after
// a seek equals, byte for byte, the frame of a run that drew every frame before it, and so does the
// lasting state; a scene's set-up is never lost on a coarse clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <tuple>
#include <vector>

#include "runtime/internal/immediate_buffer.h"
#include "runtime/runtime.h"
#include "tests/support/scene_harness.h"

namespace {

class Seek : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    started_ = std::filesystem::exists(std::filesystem::path(KELVANE_DEMO_DIR) / "script.dlx");
    if (started_) HarnessStart(KELVANE_DEMO_DIR, 160, 120);
  }
  static void TearDownTestSuite() {
    if (started_) HarnessStop();
  }
  void SetUp() override {
    if (!started_) GTEST_SKIP() << "no demo content in " << KELVANE_DEMO_DIR;
  }
  static inline bool started_ = false;
};

struct Moment {
  std::int32_t time;
  HarnessPicture picture;  // as the run drew it
  LastingState before;     // what the frames before it left
};

// 1 ms into each scene, the first frame of a beat, inside Scene08 after its scatter, the beat period's
// switch, the last frame the demo draws.
constexpr std::int32_t kMoments[] = {1725, 22901, 34451, 44076, 51776, 57000, 63326, 74876, 84530, 84531, 84532, 99890};

TEST_F(Seek, LandsWhereARunDrawingEveryFrameLandsForwardsAndBackwards) {
  constexpr std::int32_t kFps = 4;
  // One run over the clock, drawing every frame; at each moment its frame is drawn off the clock, and
  // the run then goes on from the state it had before that frame.
  std::vector<Moment> moments;
  SeekTo(0, kFps);
  std::int64_t k = 0;
  for (std::int32_t time : kMoments) {
    for (; FrameClockTime(0, kFps, k) < time; ++k) HarnessFrame(FrameClockTime(0, kFps, k));
    Moment moment{time, {}, CaptureLastingState()};
    moment.picture = HarnessFrame(time);
    RestoreLastingState(moment.before);
    moments.push_back(std::move(moment));
  }
  // Latest first: every seek goes back from where the last one left the demo.
  for (auto moment = moments.rbegin(); moment != moments.rend(); ++moment) {
    SeekTo(moment->time, kFps);
    EXPECT_TRUE(CaptureLastingState() == moment->before) << moment->time;
    EXPECT_TRUE(HarnessFrame(moment->time).rgba == moment->picture.rgba) << moment->time;
  }
}

// The frames of a 3 fps clock come 333 ms apart, so most of them miss the first 101 ms of a span.
TEST_F(Seek, ACoarseClockSetsEverySceneUpAsSixtyFramesASecondDo) {
  for (std::int32_t start : {0, 22900, 34450, 44075, 51775, 63325, 74875, 84531}) {
    std::int64_t k = 0;
    while (FrameClockTime(0, 3, k) < start) ++k;
    const std::int32_t first = FrameClockTime(0, 3, k);
    LastingState after[2];
    for (int run = 0; run < 2; ++run) {
      SeekTo(first, run == 0 ? 3 : 60);
      HarnessFrame(first);
      after[run] = CaptureLastingState();
    }
    // Only what a scene's set-up decides is compared. The cube grid holds whatever the last
    // cube-wall frame wrote, and a clock this coarse need not see every beat (beat 44 lasts 31 ms),
    // so the beat overlay's choices and the random draws behind them may differ.
    EXPECT_TRUE(std::tie(after[0].timelines, after[0].effects, after[0].gl) ==
                std::tie(after[1].timelines, after[1].effects, after[1].gl))
        << "span from " << start << ", frame " << first;
  }
}

// The driver's immediate-mode buffer: a measurement puts back what it found, and a fill placed is the
// fill measured next, whether it lies ahead of the last one, behind it (a fresh buffer), at the
// least room a buffer keeps or at its start.
TEST_F(Seek, TheDriversVertexBufferIsMeasuredAndPlacedToTheByte) {
  ImmediateBuffer buffer;
  const std::optional<std::uint32_t> found = buffer.Measure();
  ASSERT_TRUE(found) << "the driver does not show its vertex buffer's fill";
  for (const std::uint32_t fill : {*found, 200000u, 4u, 0u, 512u * 1024 - 1028, 123456u}) {
    ASSERT_TRUE(buffer.Place(fill)) << fill;
    EXPECT_EQ(buffer.Measure(), std::optional(fill));
  }
  EXPECT_FALSE(buffer.Place(512 * 1024 - 1024)) << "no buffer is left with 1 KB or less";
  EXPECT_FALSE(ImmediateBuffer().Place(0)) << "placed without a measurement";
}

// An exact seek from its notes leaves the buffer filled to the byte as the replay that took them: the
// quick seek to the last noted second, the fill placed there and the frames after it replayed.
TEST_F(Seek, FromItsNotesAnExactSeekFillsTheDriversVertexBufferAsItsReplayDid) {
  VertexBufferFills fills;
  SeekToFrame(12350, 10, 0, SeekMode::kExact, &fills, true);  // frames 0 to 123: notes at 0, 10 ... 120
  ImmediateBuffer buffer;
  const std::optional<std::uint32_t> replayed = buffer.Measure();
  ASSERT_TRUE(replayed);
  ASSERT_EQ(fills.size(), 13u);
  EXPECT_TRUE(std::all_of(fills.begin(), fills.end(), [](std::int64_t fill) { return fill >= 0; }));
  SeekToFrame(12350, 10, 0, SeekMode::kExact, &fills);
  EXPECT_EQ(buffer.Measure(), replayed);
  SeekToFrame(12000, 10, 0, SeekMode::kExact, &fills);  // a noted second: nothing to replay after it
  EXPECT_EQ(buffer.Measure(), std::optional<std::uint32_t>(fills[12]));
}

}  // namespace
