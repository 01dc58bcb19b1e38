#include <gtest/gtest.h>

#include <vector>

#include "platform/sound.h"
#include "tests/platform/live_stream.h"
#include "tests/platform/sound_files.h"
#include "tests/support/subprocess.h"
#include "tools/kelvane-render/frame_clock.h"
#include "tools/common/music_samples.h"
#include "tools/kelvane-render/progress_bar.h"
#include "tools/kelvane-render/render_arguments.h"

namespace {

// Frame k at from + trunc(k * 1000 / fps); the run ends like the live loop (the first frame past
// length - 100 ms is the last) or before --to.
TEST(FrameClock, FrameTimesTruncateAndTheRunEndsLikeTheLiveLoop) {
  const std::tuple<std::int32_t, std::int32_t, std::int64_t, std::int32_t> times[] = {
      {1000, 30, 2, 1066}, {1000, 30, 3, 1100}, {1000, 30, 5, 1166}, {0, 60, 1, 16}, {0, 60, 6000, 100000}};
  for (const auto& [from, fps, k, time] : times)
    EXPECT_EQ((FrameClock{.from = from, .fps = fps, .to = {}}.TimeOfFrame(k)), time) << fps << " fps, frame " << k;
  EXPECT_EQ((FrameClock{.from = 0, .fps = 10, .to = {}}.FrameCount(1000)), 11);  // 900 goes on; 1000 ends it
  EXPECT_EQ((FrameClock{.from = 0, .fps = 30, .to = 2000}.FrameCount(100000)), 60);  // 2000 is not drawn
  EXPECT_EQ((FrameClock{.from = 5000, .fps = 60, .to = {}}.FrameCount(1000)), 1);  // always one frame
  EXPECT_EQ((FrameClock{.from = 0, .fps = 60, .to = {}}.FrameCount(0)), 1);
}

// Each row: the frames, then the bounds of the parts (part i from bound i - 1 up to bound i).
TEST(FrameClock, PartsAreContiguousAndAsEvenAsWholeFramesAllow) {
  const std::pair<std::int64_t, std::vector<std::int64_t>> cases[] = {
      {10, {0, 3, 6, 10}}, {2, {0, 0, 1, 2}}, {5940, {0, 5940}}};
  for (const auto& [frames, bounds] : cases)
    for (std::size_t part = 1; part < bounds.size(); ++part) {
      const FrameRange range = PartOfFrames(frames, std::int32_t(part), std::int32_t(bounds.size() - 1));
      EXPECT_EQ(std::pair(range.first, range.end), std::pair(bounds[part - 1], bounds[part])) << frames << " " << part;
    }
}

// The options themselves are guarded by what the program renders (render_tool_test.cpp).
TEST(RenderArguments, DefaultsASinglePictureAndWhatIs4By3) {
  const RenderArguments defaults = ParseRenderArguments({"--frames", "out"}).arguments;
  EXPECT_EQ(std::tuple(defaults.fps, defaults.width, defaults.height, defaults.demoFolder, defaults.to.has_value()),
            std::tuple(60, 640, 480, std::string("."), false));
  const ParsedArguments at = ParseRenderArguments({"--at", "1500", "--png", "p.png"});
  EXPECT_EQ(std::tuple(at.error, at.arguments.output, at.arguments.from, at.arguments.to),
            std::tuple("", RenderOutput::SinglePicture, 1500, 1501));
  EXPECT_TRUE(ParseRenderArguments({"--help"}).arguments.help);
  EXPECT_EQ(std::tuple(SizeIsNot4By3(640, 480), SizeIsNot4By3(1280, 960), SizeIsNot4By3(1920, 1080),
                       SizeIsNot4By3(641, 480)),
            std::tuple(false, false, true, true));
}

TEST(RenderArguments, RefusedCommandLines) {
  const std::vector<std::vector<std::string>> refused = {
      {}, {"--frames"}, {"--png", "p"}, {"--fps", "0", "--frames", "a"}, {"--size", "640", "--frames", "a"},
      {"--at", "5", "--frames", "a"}, {"--from", "-5", "--frames", "a"}, {"--frames", "a", "--video", "b"},
      {"--at", "5", "--from", "1", "--png", "p"}, {"--from", "50", "--to", "50", "--frames", "a"},
      {"--size", "641x480", "--video", "v.mp4"}, {"--fps", "12x", "--frames", "a"}};
  for (const auto& words : refused) EXPECT_NE(ParseRenderArguments(words).error, "") << testing::PrintToString(words);
}

TEST(ProgressLine, CountsRateAndTimeLeft) {
  EXPECT_EQ(ProgressLine(50, 100, 10.0, 10), "[#####.....] 50/100 frames  5.0 fps  0:10 left");
  EXPECT_EQ(ProgressLine(0, 100, 0.0, 4), "[....] 0/100 frames  0.0 fps  ? left");
  EXPECT_EQ(ProgressLine(100, 100, 50.0, 4), "[####] 100/100 frames  2.0 fps  0:00 left");
  EXPECT_EQ(ProgressLine(3, 10, 2.0, 4), "[#...] 3/10 frames  1.5 fps  0:05 left");  // 4.67 s rounds
}

class MusicSamplesTest : public testing::TestWithParam<std::tuple<int, double>> {};

TEST_P(MusicSamplesTest, WindowAndSpectrumEqualTheLiveStreams) {
  const auto [rate, seconds] = GetParam();
  TempFolder folder;
  const std::string path = folder.File("music.wav");
  WriteTone(path, {.rate = rate, .seconds = seconds});
  const std::int32_t time = 500;  // past the end of the short file: the loop counts
  const std::vector<float> live = LiveHeardSamples(path, time, kMusicMixRate);
  const MusicSamples music = DecodeMusic(path, 0, StreamFrameAtTime(time) + 10);
  float window[kSpectrumWindow], liveSpectrum[kSpectrumBins], renderSpectrum[kSpectrumBins];
  music.MonoWindowEndingAt(StreamFrameAtTime(time), window);
  for (int i = 0; i < kSpectrumWindow; ++i) ASSERT_EQ(window[i], live[std::size_t(i)]) << i;
  AnalyseSpectrum(live.data(), liveSpectrum);
  music.SpectrumAt(time, renderSpectrum);
  for (int k = 0; k < kSpectrumBins; ++k) ASSERT_EQ(renderSpectrum[k], liveSpectrum[k]) << k;
  EXPECT_GT(renderSpectrum[23], 0.1f) << "1 kHz is heard";
}

INSTANTIATE_TEST_SUITE_P(Rates, MusicSamplesTest,
                         testing::Values(std::tuple{44100, 2.0}, std::tuple{48000, 2.0}, std::tuple{44100, 0.3},
                                         std::tuple{22050, 0.3}));

// The channels' mix and order, which the tone above (the same on both channels) cannot show.
TEST(MusicSamples, WindowIsTheMonoMixWithZerosBeforeTheStart) {
  const MusicSamples music({1.0f, 0.0f, 0.5f, 0.25f, -1.0f, -0.5f});
  float window[kSpectrumWindow];
  music.MonoWindowEndingAt(3, window);
  for (int i = 0; i < kSpectrumWindow - 3; ++i) ASSERT_EQ(window[i], 0.0f);
  EXPECT_EQ(std::tuple(window[kSpectrumWindow - 3], window[kSpectrumWindow - 2], window[kSpectrumWindow - 1]),
            std::tuple(0.5f, 0.375f, -0.75f));
  EXPECT_EQ(StreamFrameAtTime(1000), 44100);
  EXPECT_EQ(StreamFrameAtTime(33), 1455);  // 1455.3 floors
  EXPECT_EQ(music.StereoFrames(2, 3), (std::vector<float>{-1.0f, -0.5f, 0.0f, 0.0f, 0.0f, 0.0f}));
}

}  // namespace
