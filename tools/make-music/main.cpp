// make-music: synthesises the demo's music and writes it.
//
//   make-music [--ogg FILE.ogg] [--wav FILE.wav]
//
// Prints the length and the peak level. The samples are the same on every run; the WAV file holds
// them exactly (16 bits), the Ogg Vorbis file is what the demo plays. The Ogg stream gets a fixed
// serial number, so the file is the same on every run as well.
#include <cstdio>
#include <string>

#include "base/version.h"
#include "tools/make-music/arrangement.h"
#include "tools/make-music/music_writer.h"
#include "tools/make-music/ogg_serial.h"

namespace {

constexpr const char* kUsage =
    "usage: make-music [--ogg FILE.ogg] [--wav FILE.wav]\n"
    "       make-music --help | --version\n"
    "\n"
    "Synthesises the demo's music and writes it as Ogg Vorbis (what the demo plays) and/or 16-bit\n"
    "WAV; prints the length and the peak level. Every run writes the same bytes.\n";

constexpr double kVorbisQuality = 0.5;
constexpr double kMostPeak = 0.98;
constexpr std::uint32_t kOggSerial = 0x4B454C56;  // "KELV"

bool Parse(int argc, char** argv, std::string& ogg, std::string& wav) {
  if (argc % 2 == 0) return false;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    if (name == "--ogg") ogg = argv[i + 1];
    else if (name == "--wav") wav = argv[i + 1];
    else return false;
  }
  return !ogg.empty() || !wav.empty();
}

}  // namespace

int main(int argc, char** argv) {
  const std::string first = argc > 1 ? argv[1] : "";
  if (first == "--help") return (std::fputs(kUsage, stdout), 0);
  if (first == "--version") return (PrintVersion("make-music"), 0);
  std::string ogg, wav;
  if (!Parse(argc, argv, ogg, wav)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const StereoBuffer music = RenderPiece();
  const double peak = music.Peak();
  std::printf("music: %lld frames at %d Hz (%.1f ms), peak %.3f\n", static_cast<long long>(music.frames()),
              kSampleRate, music.frames() * 1000.0 / kSampleRate, peak);
  if (peak > kMostPeak) {
    std::fprintf(stderr, "make-music: the mix peaks at %.3f, it would clip\n", peak);
    return 1;
  }
  std::string error;
  if ((!ogg.empty() && !(WriteOggVorbis(ogg, music, kVorbisQuality, error) &&
                          SetOggFileSerial(ogg, kOggSerial, error))) ||
      (!wav.empty() && !WriteWav(wav, music, error))) {
    std::fprintf(stderr, "make-music: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
