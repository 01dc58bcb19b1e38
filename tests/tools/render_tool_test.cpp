// kelvane-render as a program: its frames against the scene harness, the same frames from several
// processes (which also guards that a render repeats itself), the video file, interruption, and its
// refusals.
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "runtime/runtime.h"
#include "tests/support/scene_harness.h"
#include "tests/support/subprocess.h"
#include "tools/common/music_samples.h"
#include "tools/common/png_io.h"

namespace fs = std::filesystem;

namespace {

const std::string kDemo = KELVANE_DEMO_DIR;

// Where the renders of this test program keep their seek notes.
const TempFolder& NotesCache() {
  static const TempFolder cache;
  return cache;
}

ProcessResult Render(std::vector<std::string> words, const std::string& folder, const std::string& scratch = "",
                     const std::function<void(int)>& whileRunning = {}) {
  words.insert(words.begin(), {KELVANE_RENDER, "--demo", kDemo});
  return RunProcess(words, folder, {{"DISPLAY", ""}, {"TMPDIR", scratch}, {"XDG_CACHE_HOME", NotesCache().path()}},
                    whileRunning);  // "": no TMPDIR
}

// Ctrl-C to the renderer once `ready` holds (or after two minutes).
std::function<void(int)> InterruptOnce(const std::function<bool()>& ready) {
  return [ready](int pid) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (std::chrono::steady_clock::now() < deadline && !ready())
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    kill(pid, SIGINT);
  };
}

std::string FrameName(std::size_t k) {
  const std::string digits = std::to_string(k);
  return "frame-" + std::string(6 - digits.size(), '0') + digits + ".png";
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

class RenderedFrames : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!fs::exists(kDemo + "/script.dlx")) GTEST_SKIP() << "no demo content in " << kDemo;
  }
  TempFolder folder_;
  const std::string scratch_ = folder_.File("tmp");
  void SetUp() override { fs::create_directory(scratch_); }
};

// One scene-harness run plays the same clock, replay included, and every written frame must match.
TEST_F(RenderedFrames, FramesAndSinglePictureMatchTheHarness) {
  const ProcessResult run =
      Render({"--from", "1500", "--to", "1600", "--fps", "30", "--frames", folder_.File("frames")}, folder_.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ASSERT_EQ(Render({"--fps", "30", "--at", "1533", "--png", "at.png"}, folder_.path()).exitCode, 0);

  const MusicSamples music = DecodeMusic(kDemo + "/kelvane.ogg", 0, StreamFrameAtTime(1600));
  float frameSpectrum[512];
  HarnessStart(kDemo);
  // The renderer seeks to 1500; the harness draws every frame of the same clock before it.
  for (std::int64_t k = 0; FrameClockTime(0, 30, k) < 1500; ++k) {
    music.SpectrumAt(FrameClockTime(0, 30, k), frameSpectrum);
    HarnessFrame(FrameClockTime(0, 30, k), frameSpectrum);
  }
  for (std::int64_t k = 0; k < 3; ++k) {  // 1500, 1533, 1566; 1600 is not drawn
    music.SpectrumAt(FrameClockTime(1500, 30, k), frameSpectrum);
    const std::vector<std::uint8_t> expected = TopFirstRgb(HarnessFrame(FrameClockTime(1500, 30, k), frameSpectrum));
    const Picture frame = ReadFrame(folder_.File("frames/" + FrameName(std::size_t(k))));
    ASSERT_EQ(std::pair(frame.width, frame.height), std::pair(640, 480));
    EXPECT_TRUE(frame.pixels == expected) << "frame " << k;
    EXPECT_TRUE(k != 1 || ReadFrame(folder_.File("at.png")).pixels == expected) << "--at 1533";
  }
  HarnessStop();
  EXPECT_EQ(FramesIn(folder_.File("frames")).size(), 3u);
  EXPECT_FALSE(fs::exists(folder_.File("debug.txt")));
}

// One encoder gets the same frames in the same order from one process or several, so the files are equal
// byte for byte.
TEST_F(RenderedFrames, ShortVideoHasItsSizeFramesAndMusicFromOneProcessOrSeveral) {
  for (const std::string jobs : {"1", "2"}) {
    const ProcessResult run = Render({"--from", "3000", "--to", "5000", "--fps", "30", "--size", "320x240", "--jobs",
                                      jobs, "--video", jobs + ".mp4"},
                                     folder_.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
  }
  EXPECT_EQ(ReadWholeFile(folder_.File("1.mp4")), ReadWholeFile(folder_.File("2.mp4")));
  const std::string streams =
      Probe(folder_.File("2.mp4"), "stream=codec_type,codec_name,width,height,pix_fmt,nb_frames,duration");
  for (const char* entry :
       {"codec_name=h264", "width=320\nheight=240", "pix_fmt=yuv420p", "nb_frames=60", "codec_name=aac"})
    EXPECT_NE(streams.find(entry), std::string::npos) << entry << " in " << streams;
  EXPECT_EQ(Probe(folder_.File("2.mp4"), "stream=duration"), "duration=2.000000\nduration=2.000000\n");
}

// Ctrl-C in the middle: the frames so far stay, a video keeps the frames that were ready, in order, and
// is closed properly; the exit code says which signal it was; no scratch folder and no worker stays.
TEST_F(RenderedFrames, InterruptedRendersKeepWhatTheyWroteAndCleanUp) {
  const ProcessResult frames =
      Render({"--to", "99000", "--size", "160x120", "--jobs", "1", "--frames", "frames"}, folder_.path(), scratch_,
             InterruptOnce([&] { return fs::exists(folder_.File("frames/" + FrameName(3))); }));
  const auto framesHandedOver = [&] {  // by the workers, to the encoder
    std::error_code ignored;
    int count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(scratch_, ignored))
      count += entry.path().extension() == ".rgb";
    return count >= 3;
  };
  const ProcessResult video = Render({"--size", "160x120", "--jobs", "2", "--video", "clip.mp4"}, folder_.path(),
                                     scratch_, InterruptOnce(framesHandedOver));
  for (const ProcessResult& run : {frames, video}) EXPECT_EQ(run.exitCode, 128 + SIGINT) << run.err;
  const std::vector<std::string> written = FramesIn(folder_.File("frames"));
  ASSERT_GE(written.size(), 4u);
  EXPECT_LT(written.size(), 5940u);
  EXPECT_EQ(written.back(), FrameName(written.size() - 1)) << "the frames from 0 on, nothing else";
  EXPECT_EQ(ReadFrame(folder_.File("frames/" + written.back())).width, 160);
  const std::string kept = "kept the first " + std::to_string(written.size()) + " of 5940 frames";
  EXPECT_NE(frames.err.find("interrupted (signal 2); " + kept), std::string::npos) << frames.err;
  EXPECT_NE(video.err.find("interrupted (signal 2); kept "), std::string::npos) << video.err;
  EXPECT_NE(Probe(folder_.File("clip.mp4"), "stream=codec_name").find("h264"), std::string::npos);
  EXPECT_TRUE(fs::is_empty(scratch_)) << "scratch folders were left behind";
  EXPECT_FALSE(RendererAlive("clip.mp4"));
}

// Across the start of Scene08 (51775 ms), which sets itself up with random draws: every part seeks to
// its first frame and must land where one process drawing them all does.
TEST_F(RenderedFrames, JobsAndPartsGiveTheFramesOfOneProcess) {
  for (const auto& [jobs, part, folder] :
       {std::tuple{"1", "1/1", "one"}, {"3", "1/2", "parts"}, {"2", "2/2", "parts"}}) {
    const ProcessResult result = Render({"--from", "51300", "--to", "52300", "--fps", "10", "--size", "160x120",
                                         "--jobs", jobs, "--part", part, "--frames", folder},
                                        folder_.path());
    ASSERT_EQ(result.exitCode, 0) << result.err;
  }
  const std::vector<std::string> names = FramesIn(folder_.File("one"));
  ASSERT_EQ(names.size(), 10u);
  ASSERT_EQ(FramesIn(folder_.File("parts")), names);
  for (const std::string& name : names)
    EXPECT_TRUE(ReadFrame(folder_.File("parts/" + name)).pixels == ReadFrame(folder_.File("one/" + name)).pixels)
        << name;
}

// On Mesa's llvmpipe, a few pixels of the frame at 30300 ms of this clock move by one step unless the
// driver's vertex buffer is filled as far as a render from 0 fills it (a quick seek misses by two
// pixels). The seek a render starts with, the same for --at and for every part of --jobs, must be
// exact there: the first time, replaying every frame, and again from the notes the first one left.
TEST_F(RenderedFrames, ASeekLandsOnTheFrameARenderFromZeroDraws) {
  const ProcessResult all = Render(
      {"--to", "30400", "--fps", "10", "--size", "160x120", "--jobs", "1", "--frames", "all"}, folder_.path());
  ASSERT_EQ(all.exitCode, 0) << all.err;
  const std::vector<std::uint8_t> expected = ReadFrame(folder_.File("all/" + FrameName(303))).pixels;
  for (const char* run : {"first", "again"}) {
    const ProcessResult at =
        Render({"--fps", "10", "--size", "160x120", "--at", "30300", "--png", "at.png"}, folder_.path());
    ASSERT_EQ(at.exitCode, 0) << at.err;
    EXPECT_TRUE(ReadFrame(folder_.File("at.png")).pixels == expected) << run;
  }
  // A note for each second before 30300 ms (frames 0, 10, ... 300), after the file's first line.
  const std::vector<std::string> notes = FramesIn(NotesCache().File("kelvane/seek"));
  ASSERT_EQ(notes.size(), 1u);
  const ProcessResult lines = RunProcess({"/usr/bin/wc", "-l", NotesCache().File("kelvane/seek/" + notes[0])}, ".");
  EXPECT_EQ(lines.out.substr(0, lines.out.find(' ')), "32");
}

// A frame that cannot be written (a folder stands in its place) fails its worker, and so the render.
TEST_F(RenderedFrames, AFailingWorkerFailsTheRenderAndLeavesNoProcessBehind) {
  fs::create_directories(folder_.File("broken/frame-000017.png"));
  const ProcessResult run = Render(
      {"--from", "30000", "--to", "32000", "--fps", "10", "--size", "160x120", "--jobs", "2", "--frames", "broken"},
      folder_.path());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("frame-000017.png"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("the worker for frames 10 to 19 failed"), std::string::npos) << run.err;
  EXPECT_FALSE(RendererAlive(folder_.File("broken")));
}

// Refusals, and a size other than 4:3, which is drawn stretched with a warning.
TEST(RenderRefusals, ClearMessagesAndExitCodes) {
  TempFolder folder;
  const std::tuple<std::vector<std::string>, int, std::string> refusals[] = {
      {{"--demo", folder.File("nowhere"), "--frames", "f"}, 1, "no demo folder"},
      {{"--demo", folder.path(), "--frames", "f"}, 1, "script.dlx"},
      {{"--video", "/proc/nowhere/clip.mp4"}, 1, "cannot write /proc/nowhere/clip.mp4"},
      {{"--frames", "f", "--speed", "2"}, 2, "unknown option '--speed'"},
      {{"--help"}, 0, ""},
      {{"--size", "400x200", "--at", "0", "--png", "p.png"}, 0, "400x200 is not 4:3"}};
  for (const auto& [words, exitCode, said] : refusals) {
    const ProcessResult run = Render(words, folder.path());
    EXPECT_EQ(run.exitCode, exitCode) << said;
    EXPECT_NE(run.err.find(said), std::string::npos) << run.err;
  }
  EXPECT_NE(Render({"--help"}, folder.path()).out.find("--video FILE.mp4"), std::string::npos);
  EXPECT_EQ(FramesIn(folder.path()), std::vector<std::string>{"p.png"}) << "nothing else left behind";
  const Picture stretched = ReadFrame(folder.File("p.png"));
  EXPECT_EQ(std::pair(stretched.width, stretched.height), std::pair(400, 200));
}

}  // namespace
