// make-pictures: builds the demo's 22 pictures from the assets folder into DEMO/data/.
//
//   make-pictures --assets ASSETS --out DEMO [--only FILE]
//
// Prints one line per file (size, bits per pixel, PSNR) and the total; fails when a picture cannot
// be built, when a PSNR is below 36 dB or when all of them together exceed 2 MB.
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "base/version.h"
#include "tools/make-pictures/picture_set.h"

namespace {

constexpr const char* kUsage =
    "usage: make-pictures --assets ASSETS --out DEMO [--only FILE]\n"
    "       make-pictures --help | --version\n"
    "\n"
    "Builds the demo's 22 pictures from the assets folder into DEMO/data/ (or only DEMO/data/FILE)\n"
    "and prints one line per file (size, bits per pixel, PSNR) and the total. Fails when a picture\n"
    "cannot be built, when a PSNR is below 36 dB or when all of them together exceed 2 MB.\n";

constexpr double kLeastPsnr = 36.0;
constexpr std::uint64_t kMostBytes = 2'000'000;

struct Arguments {
  std::string assets;
  std::string out;
  std::string only;
};

bool Parse(int argc, char** argv, Arguments& arguments) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    if (name == "--assets") arguments.assets = argv[i + 1];
    else if (name == "--out") arguments.out = argv[i + 1];
    else if (name == "--only") arguments.only = argv[i + 1];
    else return false;
  }
  return argc % 2 == 1 && !arguments.assets.empty() && !arguments.out.empty();
}

std::vector<NamedPicture> AllPictures(const PictureSources& sources) {
  using Group = std::vector<NamedPicture> (*)(const PictureSources&);
  const Group groups[] = {FlowerPictures,   BackgroundPictures, OverlayPictures,
                          BirdPictures,     WaveTextPictures,   TextLinePictures,
                          SignPictures,     CreditsPictures,    LoadingPictures};
  std::vector<NamedPicture> pictures;
  for (Group group : groups)
    for (NamedPicture& picture : group(sources)) pictures.push_back(std::move(picture));
  return pictures;
}

// A picture file that cannot be written or read back ends the whole build, with the runtime I/O
// error's line and code.
struct FileFailure {
  Failure failure;
};

// Encodes one picture; false when it fails or falls short of the PSNR.
bool Encode(const NamedPicture& picture, const std::string& out, std::uint64_t& total) {
  const std::vector<std::uint8_t> bytes = picture.picture.Bytes();
  const SourcePicture source{bytes.data(), static_cast<std::uint32_t>(picture.picture.width()),
                             static_cast<std::uint32_t>(picture.picture.height()), 3};
  HwlEncodeReport report;
  const HwlEncodeResult encoded = EncodeHwlPicture(source, picture.options, out + "/" + picture.file, report);
  if (encoded.failure) throw FileFailure{*encoded.failure};
  if (!encoded.encoded()) {
    std::fprintf(stderr, "make-pictures: %s: %s\n", picture.file.c_str(), encoded.problem.c_str());
    return false;
  }
  total += report.fileSize;
  std::printf("%-36s %4u x %-4u %8llu bytes %6.3f bpp  PSNR %6.2f dB\n", picture.file.c_str(), source.width,
              source.height, static_cast<unsigned long long>(report.fileSize), report.bitsPerPixel, report.psnr);
  if (report.psnr >= kLeastPsnr) return true;
  std::fprintf(stderr, "make-pictures: %s: PSNR %.2f dB is below %.0f dB\n", picture.file.c_str(), report.psnr,
               kLeastPsnr);
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string first = argc > 1 ? argv[1] : "";
  if (first == "--help") return (std::fputs(kUsage, stdout), 0);
  if (first == "--version") return (PrintVersion("make-pictures"), 0);
  Arguments arguments;
  if (!Parse(argc, argv, arguments)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  try {
    std::filesystem::create_directories(arguments.out + "/data");
    bool ok = true;
    std::uint64_t total = 0;
    for (const NamedPicture& picture : AllPictures({arguments.assets}))
      if (arguments.only.empty() || arguments.only == picture.file) ok = Encode(picture, arguments.out, total) && ok;
    std::printf("total %llu bytes\n", static_cast<unsigned long long>(total));
    if (total > kMostBytes) {
      std::fprintf(stderr, "make-pictures: the pictures take %llu bytes, more than %llu\n",
                   static_cast<unsigned long long>(total), static_cast<unsigned long long>(kMostBytes));
      ok = false;
    }
    return ok ? 0 : 1;
  } catch (const FileFailure& stop) {
    std::fprintf(stderr, "%s\n", stop.failure.Text().c_str());
    return static_cast<int>(stop.failure.code);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "make-pictures: %s\n", failure.what());
    return 1;
  }
}
