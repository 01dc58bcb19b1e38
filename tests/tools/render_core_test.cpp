#include <gtest/gtest.h>
#include <sndfile.h>

#include <chrono>
#include <cmath>
#include <numbers>
#include <thread>
#include <vector>

#include "platform/sound.h"
#include "tests/platform/live_stream.h"
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
      {1000, 30, 1, 1033}, {1000, 30, 2, 1066}, {1000, 30, 3, 1100}, {1000, 30, 5, 1166},
      {0, 60, 1, 16},      {0, 60, 5, 83},      {0, 60, 6, 100},     {0, 60, 6000, 100000}};
  for (const auto& [from, fps, k, time] : times)
    EXPECT_EQ((FrameClock{.from = from, .fps = fps, .to = {}}.TimeOfFrame(k)), time) << fps << " fps, frame " << k;
  EXPECT_EQ((FrameClock{.from = 0, .fps = 10, .to = {}}.FrameCount(1000)), 11);  // 900 goes on; 1000 ends it
  EXPECT_EQ((FrameClock{.from = 0, .fps = 30, .to = 2000}.FrameCount(100000)), 60);  // 2000 is not drawn
  EXPECT_EQ((FrameClock{.from = 5000, .fps = 60, .to = {}}.FrameCount(1000)), 1);  // always one frame
  EXPECT_EQ((FrameClock{.from = 0, .fps = 60, .to = {}}.FrameCount(0)), 1);
}

TEST(FrameClock, PartsAreContiguousAndAsEvenAsWholeFramesAllow) {
  const struct {
    std::int64_t frames;
    std::int32_t parts;
    std::vector<FrameRange> expected;
  } cases[] = {{10, 3, {{0, 3}, {3, 6}, {6, 10}}}, {2, 3, {{0, 0}, {0, 1}, {1, 2}}}, {5940, 1, {{0, 5940}}}};
  for (const auto& c : cases) {
    for (std::int32_t part = 1; part <= c.parts; ++part) {
      const FrameRange range = PartOfFrames(c.frames, part, c.parts);
      EXPECT_EQ(range.first, c.expected[std::size_t(part - 1)].first) << c.frames << " " << part;
      EXPECT_EQ(range.end, c.expected[std::size_t(part - 1)].end) << c.frames << " " << part;
    }
  }
}

TEST(RenderArguments, DefaultsAndEveryOption) {
  ParsedArguments parsed = ParseRenderArguments({"--frames", "out"});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.arguments.fps, 60);
  EXPECT_EQ(parsed.arguments.width, 640);
  EXPECT_EQ(parsed.arguments.height, 480);
  EXPECT_EQ(parsed.arguments.demoFolder, ".");
  EXPECT_FALSE(parsed.arguments.to);

  parsed = ParseRenderArguments({"--demo", "d", "--from", "100", "--to", "900", "--fps", "30", "--size", "320x240",
                                 "--video", "v.mp4"});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.arguments.demoFolder, "d");
  EXPECT_EQ(parsed.arguments.from, 100);
  EXPECT_EQ(*parsed.arguments.to, 900);
  EXPECT_EQ(parsed.arguments.fps, 30);
  EXPECT_EQ(parsed.arguments.width, 320);
  EXPECT_EQ(parsed.arguments.output, RenderOutput::Video);
  EXPECT_EQ(parsed.arguments.outputPath, "v.mp4");

  parsed = ParseRenderArguments({"--at", "1500", "--png", "p.png"});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.arguments.output, RenderOutput::SinglePicture);
  EXPECT_EQ(parsed.arguments.from, 1500);
  EXPECT_EQ(*parsed.arguments.to, 1501);
}

TEST(RenderArguments, RefusedCommandLines) {
  const std::vector<std::vector<std::string>> refused = {
      {"--frames", "a", "--bogus"},        {},                                  {"--frames"},
      {"--fps", "0", "--frames", "a"},     {"--size", "640", "--frames", "a"},  {"--from", "-5", "--frames", "a"},
      {"--frames", "a", "--video", "b"},   {"--png", "p.png"},                  {"--at", "5", "--frames", "a"},
      {"--at", "5", "--from", "1", "--png", "p"}, {"--from", "50", "--to", "50", "--frames", "a"},
      {"--size", "641x480", "--video", "v.mp4"},  {"--fps", "12x", "--frames", "a"}};
  for (const auto& words : refused) EXPECT_NE(ParseRenderArguments(words).error, "") << testing::PrintToString(words);
  EXPECT_NE(ParseRenderArguments({"--frames", "a", "--bogus"}).error.find("--bogus"), std::string::npos);
  EXPECT_TRUE(ParseRenderArguments({"--help"}).arguments.help);
}

TEST(RenderArguments, FourByThreeSizes) {
  EXPECT_FALSE(SizeIsNot4By3(640, 480));
  EXPECT_FALSE(SizeIsNot4By3(1280, 960));
  EXPECT_TRUE(SizeIsNot4By3(1920, 1080));
  EXPECT_TRUE(SizeIsNot4By3(641, 480));
}

TEST(ProgressLine, CountsRateAndTimeLeft) {
  EXPECT_EQ(ProgressLine(50, 100, 10.0, 10), "[#####.....] 50/100 frames  5.0 fps  0:10 left");
  EXPECT_EQ(ProgressLine(0, 100, 0.0, 4), "[....] 0/100 frames  0.0 fps  ? left");
  EXPECT_EQ(ProgressLine(100, 100, 50.0, 4), "[####] 100/100 frames  2.0 fps  0:00 left");
}

// A stereo WAV whose channels differ, so that the mono mix and the frame order both matter.
void WriteTestMusic(const std::string& path, int rate, double seconds) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = 2;
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(file, nullptr);
  const int frames = int(seconds * rate);
  std::vector<float> stereo(std::size_t(frames) * 2);
  for (int i = 0; i < frames; ++i) {
    const double t = double(i) / rate;
    stereo[std::size_t(2 * i)] = float(0.6 * std::sin(2 * std::numbers::pi * 1000 * t) * (1 - t / seconds));
    stereo[std::size_t(2 * i + 1)] = float(0.3 * std::sin(2 * std::numbers::pi * 3100 * t) + 0.1 * (i % 7) / 7.0);
  }
  sf_writef_float(file, stereo.data(), frames);
  sf_close(file);
}

class MusicSamplesTest : public testing::TestWithParam<std::tuple<int, double>> {};

TEST_P(MusicSamplesTest, WindowAndSpectrumEqualTheLiveStreams) {
  const auto [rate, seconds] = GetParam();
  TempFolder folder;
  const std::string path = folder.File("music.wav");
  WriteTestMusic(path, rate, seconds);
  const std::int32_t time = 500;  // past the end of the short file: the loop counts
  const std::vector<float> live = LiveHeardSamples(path, time, kMusicMixRate);

  const MusicSamples music = DecodeMusic(path, 0, StreamFrameAtTime(time) + 10);
  float window[kSpectrumWindow];
  music.MonoWindowEndingAt(StreamFrameAtTime(time), window);
  for (int i = 0; i < kSpectrumWindow; ++i) ASSERT_EQ(window[i], live[std::size_t(i)]) << i;

  float liveSpectrum[kSpectrumBins];
  float renderSpectrum[kSpectrumBins];
  AnalyseSpectrum(live.data(), liveSpectrum);
  music.SpectrumAt(time, renderSpectrum);
  for (int k = 0; k < kSpectrumBins; ++k) ASSERT_EQ(renderSpectrum[k], liveSpectrum[k]) << k;
  if (rate == kMusicMixRate && seconds > 1.0) {
    EXPECT_GT(renderSpectrum[23], 0.1f);  // 1 kHz is heard
  }
}

INSTANTIATE_TEST_SUITE_P(Rates, MusicSamplesTest,
                         testing::Values(std::tuple{44100, 2.0}, std::tuple{48000, 2.0}, std::tuple{44100, 0.3},
                                         std::tuple{22050, 0.3}));

TEST(MusicSamples, WindowIsTheMonoMixWithZerosBeforeTheStart) {
  const MusicSamples music({1.0f, 0.0f, 0.5f, 0.25f, -1.0f, -0.5f});
  float window[kSpectrumWindow];
  music.MonoWindowEndingAt(3, window);
  for (int i = 0; i < kSpectrumWindow - 3; ++i) ASSERT_EQ(window[i], 0.0f);
  EXPECT_EQ(window[kSpectrumWindow - 3], 0.5f);
  EXPECT_EQ(window[kSpectrumWindow - 2], 0.375f);
  EXPECT_EQ(window[kSpectrumWindow - 1], -0.75f);
  EXPECT_EQ(StreamFrameAtTime(1000), 44100);
  EXPECT_EQ(StreamFrameAtTime(33), 1455);  // 1455.3 floors
  const std::vector<float> cut = music.StereoFrames(2, 3);
  EXPECT_EQ(cut, (std::vector<float>{-1.0f, -0.5f, 0.0f, 0.0f, 0.0f, 0.0f}));
}

}  // namespace
