// kelvane-render as a program: its frames against the scene harness, the same frames from several
// processes (which also guards that a render repeats itself), the video file, interruption, and its
// refusals.
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <string>
#include <vector>

#include "tests/support/scene_harness.h"
#include "tests/support/subprocess.h"
#include "tools/common/png_io.h"
#include "tools/kelvane-render/frame_clock.h"
#include "runtime/runtime.h"
#include "tools/common/music_samples.h"

namespace fs = std::filesystem;

namespace {

const std::string kDemo = KELVANE_DEMO_DIR;

ProcessResult Render(const std::vector<std::string>& arguments, const std::string& folder) {
  std::vector<std::string> argv = {KELVANE_RENDER};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return RunProcess(argv, folder, {{"DISPLAY", ""}});
}

std::string FrameFile(std::int64_t k) {
  char name[48];
  std::snprintf(name, sizeof name, "frames/frame-%06lld.png", static_cast<long long>(k));
  return name;
}

Picture ReadFrame(const std::string& path) {
  Picture picture;
  std::string error;
  EXPECT_TRUE(ReadPng(path, picture, error)) << error;
  return picture;
}

// The harness picture (RGBA, rows bottom first) as RGB rows top first.
std::vector<std::uint8_t> TopFirstRgb(const HarnessPicture& picture) {
  std::vector<std::uint8_t> rgb;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) rgb.insert(rgb.end(), picture.At(x, y), picture.At(x, y) + 3);
  return rgb;
}

std::string Probe(const std::string& file, const std::string& entries) {
  const ProcessResult probe = RunProcess(
      {"/usr/bin/ffprobe", "-v", "error", "-show_entries", entries, "-of", "default=noprint_wrappers=1", file}, ".");
  EXPECT_EQ(probe.exitCode, 0) << probe.err;
  return probe.out;
}

class RenderedFrames : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!fs::exists(kDemo + "/script.dlx")) GTEST_SKIP() << "no demo content in " << kDemo;
  }
  TempFolder folder_;
};

// One scene-harness run plays the same clock, replay included, and every written frame must match.
TEST_F(RenderedFrames, FramesAndSinglePictureMatchTheHarness) {
  const std::vector<std::string> range = {"--demo", kDemo, "--from", "1500", "--to", "1600", "--fps", "30"};
  std::vector<std::string> frames = range;
  frames.insert(frames.end(), {"--frames", folder_.File("frames")});
  const ProcessResult run = Render(frames, folder_.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ASSERT_EQ(Render({"--demo", kDemo, "--fps", "30", "--at", "1533", "--png", "at.png"}, folder_.path()).exitCode, 0);

  const FrameClock clock{.from = 1500, .fps = 30, .to = 1600};
  const MusicSamples music = DecodeMusic(kDemo + "/kelvane.ogg", 0, StreamFrameAtTime(1600));
  float frameSpectrum[512];
  HarnessStart(kDemo);
  // The renderer seeks to 1500; the harness draws every frame of the same clock before it.
  for (std::int64_t k = 0; FrameClockTime(0, 30, k) < 1500; ++k) {
    music.SpectrumAt(FrameClockTime(0, 30, k), frameSpectrum);
    HarnessFrame(FrameClockTime(0, 30, k), frameSpectrum);
  }
  const std::int64_t count = clock.FrameCount(100000);
  ASSERT_EQ(count, 3);  // 1500, 1533, 1566; 1600 is not drawn
  for (std::int64_t k = 0; k < count; ++k) {
    music.SpectrumAt(clock.TimeOfFrame(k), frameSpectrum);
    const std::vector<std::uint8_t> expected = TopFirstRgb(HarnessFrame(clock.TimeOfFrame(k), frameSpectrum));
    const Picture frame = ReadFrame(folder_.File("frames/frame-00000" + std::to_string(k) + ".png"));
    ASSERT_EQ(frame.width, 640);
    ASSERT_EQ(frame.height, 480);
    EXPECT_TRUE(frame.pixels == expected) << "frame " << k;
    if (k == 1) {
      EXPECT_TRUE(ReadFrame(folder_.File("at.png")).pixels == expected) << "--at 1533";
    }
  }
  HarnessStop();
  EXPECT_FALSE(fs::exists(folder_.File("frames/frame-000003.png")));
  EXPECT_FALSE(fs::exists(folder_.File("debug.txt")));
  EXPECT_FALSE(fs::exists(folder_.File("frames/debug.txt")));
}

TEST_F(RenderedFrames, ShortVideoHasItsSizeFramesAndMusic) {
  const ProcessResult run = Render({"--demo", kDemo, "--from", "3000", "--to", "5000", "--fps", "30", "--size",
                                    "320x240", "--video", "clip.mp4"},
                                   folder_.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string video = folder_.File("clip.mp4");
  const std::string streams = Probe(video, "stream=codec_type,codec_name,width,height,pix_fmt,nb_frames,duration");
  EXPECT_NE(streams.find("codec_name=h264"), std::string::npos) << streams;
  EXPECT_NE(streams.find("width=320\nheight=240"), std::string::npos) << streams;
  EXPECT_NE(streams.find("pix_fmt=yuv420p"), std::string::npos) << streams;
  EXPECT_NE(streams.find("nb_frames=60"), std::string::npos) << streams;
  EXPECT_NE(streams.find("codec_name=aac"), std::string::npos) << streams;
  const std::string audio = Probe(video, "stream=duration");
  EXPECT_EQ(audio, "duration=2.000000\nduration=2.000000\n");
}

// Ctrl-C in the middle: the frames so far stay, the video is closed properly with as many frames as
// were written, the scratch folder goes, and the exit code says which signal it was.
TEST_F(RenderedFrames, InterruptedRenderKeepsWhatItWroteAndCleansUp) {
  const std::string scratch = folder_.File("tmp");
  fs::create_directory(scratch);
  const auto interruptOnceFramesAppear = [&](int pid) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (std::chrono::steady_clock::now() < deadline &&
           !fs::exists(folder_.File(FrameFile(3))))
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    kill(pid, SIGINT);
  };
  const ProcessResult run =
      RunProcess({KELVANE_RENDER, "--demo", kDemo, "--to", "99000", "--size", "160x120", "--jobs", "1", "--frames",
                  "frames"},
                 folder_.path(), {{"DISPLAY", ""}, {"TMPDIR", scratch}}, interruptOnceFramesAppear);
  EXPECT_EQ(run.exitCode, 128 + SIGINT) << run.err;
  std::int64_t frames = 0;
  while (fs::exists(folder_.File(FrameFile(frames)))) ++frames;
  EXPECT_GE(frames, 4);
  EXPECT_LT(frames, 5940);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_.File("frames")), fs::directory_iterator()), frames);
  EXPECT_EQ(ReadFrame(folder_.File(FrameFile(frames - 1))).width, 160);
  EXPECT_NE(run.err.find("interrupted (signal 2); kept the first " + std::to_string(frames) + " of 5940 frames"),
            std::string::npos)
      << run.err;
  EXPECT_TRUE(fs::is_empty(scratch)) << "the scratch folder was left behind";
}

std::vector<std::string> FramesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// Whether a kelvane-render process that names `word` on its command line is still alive.
bool RendererAlive(const std::string& word) {
  return RunProcess({"/usr/bin/pgrep", "-f", "kelvane-render.*" + word}, ".").exitCode == 0;
}

// Across the start of Scene08 (51775 ms), which sets itself up with random draws: every part seeks to
// its first frame and must land where one process drawing them all does.
TEST_F(RenderedFrames, JobsAndPartsGiveTheFramesOfOneProcess) {
  const std::vector<std::string> range = {"--demo", kDemo, "--from", "51300", "--to", "52300", "--fps", "10",
                                          "--size", "160x120"};
  const std::vector<std::vector<std::string>> runs = {
      {"--jobs", "1", "--frames", "one"}, {"--jobs", "3", "--frames", "three"},
      {"--jobs", "1", "--part", "1/2", "--frames", "parts"}, {"--jobs", "2", "--part", "2/2", "--frames", "parts"}};
  for (const std::vector<std::string>& run : runs) {
    std::vector<std::string> words = range;
    words.insert(words.end(), run.begin(), run.end());
    const ProcessResult result = Render(words, folder_.path());
    ASSERT_EQ(result.exitCode, 0) << result.err;
  }
  const std::vector<std::string> names = FramesIn(folder_.File("one"));
  ASSERT_EQ(names.size(), 10u);
  for (const char* other : {"three", "parts"}) {
    ASSERT_EQ(FramesIn(folder_.File(other)), names) << other;
    for (const std::string& name : names) {
      EXPECT_TRUE(ReadFrame(folder_.File(other) + "/" + name).pixels == ReadFrame(folder_.File("one") + "/" + name).pixels)
          << other << "/" << name;
    }
  }
}

// One encoder gets the same frames in the same order, so the files are equal byte for byte.
TEST_F(RenderedFrames, AVideoFromSeveralProcessesIsTheVideoOfOne) {
  for (const char* jobs : {"1", "2"}) {
    const ProcessResult run = Render({"--demo", kDemo, "--from", "40000", "--to", "41000", "--size", "160x120",
                                      "--jobs", jobs, "--video", std::string("clip") + jobs + ".mp4"},
                                     folder_.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
  }
  EXPECT_EQ(ReadWholeFile(folder_.File("clip1.mp4")), ReadWholeFile(folder_.File("clip2.mp4")));
}

// A frame that cannot be written (a folder stands in its place) fails its worker, and so the render.
TEST_F(RenderedFrames, AFailingWorkerFailsTheRenderAndLeavesNoProcessBehind) {
  fs::create_directories(folder_.File("broken/frame-000017.png"));
  const ProcessResult run = Render({"--demo", kDemo, "--from", "30000", "--to", "32000", "--fps", "10", "--size",
                                    "160x120", "--jobs", "2", "--frames", "broken"},
                                   folder_.path());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("frame-000017.png"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("the worker for frames 10 to 19 failed"), std::string::npos) << run.err;
  EXPECT_FALSE(RendererAlive(folder_.File("broken")));
}

// Ctrl-C reaches the workers; the video keeps the frames that were ready in order and is closed
// properly; the workers' raw frames go.
TEST_F(RenderedFrames, InterruptedParallelVideoIsClosedAndLeavesNothingBehind) {
  const std::string scratch = folder_.File("tmp");
  fs::create_directory(scratch);
  // Once the workers have handed over a few frames.
  const auto framesHandedOver = [&] {
    std::error_code ignored;
    int frames = 0;
    for (const auto& entry : fs::recursive_directory_iterator(scratch, ignored)) frames += entry.path().extension() == ".rgb";
    return frames >= 3;
  };
  const auto interruptOnceFramesAppear = [&](int pid) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (std::chrono::steady_clock::now() < deadline && !framesHandedOver())
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    kill(pid, SIGINT);
  };
  const ProcessResult run =
      RunProcess({KELVANE_RENDER, "--demo", kDemo, "--size", "160x120", "--jobs", "2", "--video", "clip.mp4"},
                 folder_.path(), {{"DISPLAY", ""}, {"TMPDIR", scratch}}, interruptOnceFramesAppear);
  EXPECT_EQ(run.exitCode, 128 + SIGINT) << run.err;
  EXPECT_NE(run.err.find("interrupted (signal 2); kept "), std::string::npos) << run.err;
  EXPECT_NE(Probe(folder_.File("clip.mp4"), "stream=codec_name").find("h264"), std::string::npos);
  EXPECT_TRUE(fs::is_empty(scratch)) << "scratch folders were left behind";
  EXPECT_FALSE(RendererAlive("clip.mp4"));
}

TEST(RenderRefusals, ClearMessagesAndExitCodes) {
  TempFolder folder;
  const struct {
    std::vector<std::string> words;
    int exitCode;
    std::string said;
  } refusals[] = {
      {{"--demo", folder.File("nowhere"), "--frames", "f"}, 1, "no demo folder"},
      {{"--demo", folder.path(), "--frames", "f"}, 1, "script.dlx"},
      {{"--demo", kDemo, "--video", "/proc/nowhere/clip.mp4"}, 1, "cannot write /proc/nowhere/clip.mp4"},
      {{"--frames", "f", "--speed", "2"}, 2, "unknown option '--speed'"},
  };
  for (const auto& refusal : refusals) {
    const ProcessResult run = Render(refusal.words, folder.path());
    EXPECT_EQ(run.exitCode, refusal.exitCode) << refusal.said;
    EXPECT_NE(run.err.find(refusal.said), std::string::npos) << run.err;
  }
  const ProcessResult help = Render({"--help"}, folder.path());
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("--video FILE.mp4"), std::string::npos);
  EXPECT_EQ(fs::directory_iterator(folder.path()), fs::directory_iterator());  // nothing left behind
}

TEST(RenderWarnings, SizeOtherThan4By3IsWarnedAndRendered) {
  if (!fs::exists(kDemo + "/script.dlx")) GTEST_SKIP() << "no demo content";
  TempFolder folder;
  const ProcessResult run = Render({"--demo", kDemo, "--size", "400x200", "--at", "0", "--png", "p.png"}, folder.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("not 4:3"), std::string::npos) << run.err;
  const Picture picture = ReadFrame(folder.File("p.png"));
  EXPECT_EQ(picture.width, 400);
  EXPECT_EQ(picture.height, 200);
}

}  // namespace
