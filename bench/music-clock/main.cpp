// How the music clock looks to a frame loop at 240 Hz (usage below).
#include <sndfile.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "base/failure_trap.h"
#include "base/version.h"
#include "sequencing/music.h"
#include "sequencing/sequencing.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kUsage =
    "usage: music-clock [--seconds N] [--device] [FILE]\n"
    "\n"
    "Plays FILE (without one, a generated 1 kHz tone) on the silent output (or the audio device) for\n"
    "N seconds (10), reads the music time 240 times a second as the frame loop does, and prints the\n"
    "largest step between two reads, how many reads repeated the previous value, and how far the music\n"
    "time drifted from the steady clock over the run.\n"
    "\n"
    "  --seconds N  how long to read (default 10)\n"
    "  --device     play on the audio device instead of the silent output\n"
    "  --help       this text\n"
    "  --version    the version\n";

std::string WriteTestTone(double seconds) {
  const std::string path = (std::filesystem::temp_directory_path() / "kelvane-music-clock.wav").string();
  SF_INFO info{};
  info.samplerate = 44100;
  info.channels = 2;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) {
    std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), sf_strerror(nullptr));
    std::exit(1);
  }
  const auto frames = static_cast<std::size_t>(seconds * 44100);
  std::vector<float> samples(2 * frames);
  for (std::size_t i = 0; i < frames; ++i) {
    samples[2 * i] = samples[2 * i + 1] =
        static_cast<float>(0.5 * std::sin(2.0 * std::numbers::pi * 1000.0 * static_cast<double>(i) / 44100));
  }
  sf_writef_float(file, samples.data(), static_cast<sf_count_t>(frames));
  sf_close(file);
  return path;
}

struct Readings {
  std::int32_t largestStep = 0;
  double largestGapMs = 0.0;  // between two reads on the steady clock: the scheduler's share
  std::int64_t reads = 0;
  std::int64_t repeats = 0;
  std::int64_t backwards = 0;
  double driftMs = 0.0;
};

Readings ReadAt240Hz(double seconds) {
  Readings readings;
  const Clock::time_point started = Clock::now();
  const auto period = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / 240.0));
  std::int32_t previous = GetMusicTime();
  const std::int32_t first = previous;
  Clock::time_point previousRead = started;
  for (Clock::time_point next = started + period; next - started < std::chrono::duration<double>(seconds);
       next += period) {
    std::this_thread::sleep_until(next);
    const std::int32_t time = GetMusicTime();
    const Clock::time_point read = Clock::now();
    readings.largestGapMs =
        std::max(readings.largestGapMs, std::chrono::duration<double, std::milli>(read - previousRead).count());
    previousRead = read;
    ++readings.reads;
    if (time == previous) ++readings.repeats;
    if (time < previous) ++readings.backwards;
    readings.largestStep = std::max(readings.largestStep, time - previous);
    previous = time;
  }
  const double wallMs = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
  readings.driftMs = (GetMusicTime() - first) - wallMs;
  return readings;
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 10.0;
  bool device = false;
  std::string file;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (argument == "--version") {
      PrintVersion("music-clock");
      return 0;
    }
    if (argument == "--device") device = true;
    else if (argument == "--seconds" && i + 1 < argc) seconds = std::atof(argv[++i]);
    else file = argument;
  }
  if (file.empty()) file = WriteTestTone(seconds + 2.0);

  musicFile = file;
  StartMusic(device);
  const Readings readings = ReadAt240Hz(seconds);
  StopMusic();

  std::printf("output          %s\n", device ? "device" : "silent");
  std::printf("reads           %lld over %.1f s\n", static_cast<long long>(readings.reads), seconds);
  std::printf("largest step    %d ms (largest gap between reads %.1f ms)\n", readings.largestStep,
              readings.largestGapMs);
  std::printf("repeated values %lld\n", static_cast<long long>(readings.repeats));
  std::printf("backward steps  %lld\n", static_cast<long long>(readings.backwards));
  std::printf("drift           %+.1f ms against the steady clock\n", readings.driftMs);
  return 0;
}
