#include "images/hwl.h"

#include <cmath>
#include <filesystem>
#include <limits>
#include <vector>

#include "images/internal/hwl_colour.h"
#include "images/internal/hwl_format.h"
#include "images/internal/hwl_quantiser.h"
#include "images/internal/hwl_wavelet.h"
#include "images/internal/hwl_writer.h"

namespace {

// Without a lastLevel of its own, a picture gets the deepest transform its size allows up to this.
constexpr int kDefaultLevelCap = 5;

bool FitsLevels(std::uint32_t width, std::uint32_t height, int lastLevel) {
  const std::uint32_t block = std::uint32_t{1} << (lastLevel + 1);
  return width != 0 && height != 0 && width % block == 0 && height % block == 0;
}

// The largest lastLevel (≤ cap) for which width and height are non-zero multiples of
// 2^(lastLevel + 1), or -1 when there is none (an odd or zero size).
int LargestLastLevel(std::uint32_t width, std::uint32_t height, int cap = kDefaultLevelCap) {
  for (int level = std::min(cap, kMaxLastLevel); level >= 0; --level) {
    if (FitsLevels(width, height, level)) return level;
  }
  return -1;
}

// The grey value of a colour pixel, 0.3 R + 0.59 G + 0.11 B rounded.
std::uint8_t GreyOfRgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return SampleToByte(static_cast<double>((0.3L * r + 0.59L * g) + 0.11L * b));
}

bool EncodesGrey(const SourcePicture& picture, const HwlEncodeOptions& options) {
  return picture.channels == 1 || options.grey;
}

std::string LevelProblem(const SourcePicture& picture, const HwlEncodeOptions& options) {
  const std::string size = std::to_string(picture.width) + " x " + std::to_string(picture.height);
  if (!options.lastLevel) {
    if (LargestLastLevel(picture.width, picture.height) < 0) return "a " + size + " picture needs an even width and height";
    return "";
  }
  const int level = *options.lastLevel;
  if (level < 0 || level > kMaxLastLevel) return "levels must lie between 0 and 16, not " + std::to_string(level);
  if (!FitsLevels(picture.width, picture.height, level)) {
    return "a " + size + " picture is not a multiple of 2^(levels + 1) = " + std::to_string(1u << (level + 1)) +
           " in both directions";
  }
  return "";
}

std::string BitsProblem(const HwlEncodeOptions& options) {
  for (int bits : options.valueBits) {
    if (bits < 0 || bits > kMaxValueBits) return "value bits must lie between 0 and 8, not " + std::to_string(bits);
  }
  return "";
}

std::vector<double> PlaneOfChannel(const SourcePicture& picture, int channel) {
  const std::size_t count = std::size_t{picture.width} * picture.height;
  std::vector<double> plane(count);
  for (std::size_t i = 0; i < count; ++i) plane[i] = picture.pixels[i * picture.channels + channel];
  return plane;
}

std::vector<std::uint8_t> GreyBytes(const SourcePicture& picture) {
  const std::size_t count = std::size_t{picture.width} * picture.height;
  std::vector<std::uint8_t> grey(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* p = picture.pixels + i * picture.channels;
    grey[i] = picture.channels == 1 ? p[0] : GreyOfRgb(p[0], p[1], p[2]);
  }
  return grey;
}

std::uint64_t ApplyThreshold(double* plane, const HwlEncodeOptions& options, std::uint32_t W, std::uint32_t H,
                             int lastLevel) {
  return options.threshold ? ZeroSmallDetails(plane, *options.threshold, W, H, lastLevel) : 0;
}

MaybeFailure EncodeGrey(const std::vector<std::uint8_t>& grey, std::uint32_t W, std::uint32_t H, int lastLevel,
                        const HwlEncodeOptions& options, const std::string& fileName, HwlEncodeReport& report) {
  std::vector<double> plane(grey.begin(), grey.end());
  ForwardWavelet(plane.data(), plane.data(), W, H, W, H, lastLevel);
  report.zeroedDetails = ApplyThreshold(plane.data(), options, W, H, lastLevel);
  std::vector<std::int32_t> quantised(plane.size());
  double scale[kScaleTableCapacity] = {};
  Quantise(plane.data(), quantised.data(), W, H, lastLevel, options.valueBits[0], scale);
  return WriteImageFile(fileName, {quantised.data(), nullptr, nullptr}, W, H, 8, lastLevel, {scale, nullptr, nullptr},
                        {options.valueBits[0], 0, 0}, report.header);
}

MaybeFailure EncodeColour(const SourcePicture& picture, int lastLevel, const HwlEncodeOptions& options,
                          const std::string& fileName, HwlEncodeReport& report) {
  const std::uint32_t W = picture.width;
  const std::uint32_t H = picture.height;
  std::vector<double> yuv[3];
  {
    const std::vector<double> r = PlaneOfChannel(picture, 0);
    const std::vector<double> g = PlaneOfChannel(picture, 1);
    const std::vector<double> b = PlaneOfChannel(picture, 2);
    for (auto& plane : yuv) plane.resize(r.size());
    RgbToYuvForward(r.data(), g.data(), b.data(), yuv[0].data(), yuv[1].data(), yuv[2].data(), W, H, W, H, lastLevel);
  }
  std::vector<std::int32_t> quantised[3];
  double scales[3][kScaleTableCapacity] = {};
  for (int c = 0; c < 3; ++c) {
    report.zeroedDetails += ApplyThreshold(yuv[c].data(), options, W, H, lastLevel);
    quantised[c].resize(yuv[c].size());
  }
  Quantise({yuv[0].data(), yuv[1].data(), yuv[2].data()},
           {quantised[0].data(), quantised[1].data(), quantised[2].data()}, W, H, lastLevel, options.valueBits,
           {scales[0], scales[1], scales[2]});
  return WriteImageFile(fileName, {quantised[0].data(), quantised[1].data(), quantised[2].data()}, W, H, 24,
                        lastLevel, {scales[0], scales[1], scales[2]}, options.valueBits, report.header);
}

double Psnr(double squaredErrorSum, std::uint64_t samples) {
  if (squaredErrorSum == 0.0 || samples == 0) return std::numeric_limits<double>::infinity();
  return 10.0 * std::log10(255.0 * 255.0 * static_cast<double>(samples) / squaredErrorSum);
}

double GreyPsnr(const std::vector<std::uint8_t>& reference, const std::vector<std::uint8_t>& decoded) {
  double sum = 0.0;
  for (std::size_t i = 0; i < reference.size(); ++i) {
    const double d = double(reference[i]) - double(decoded[i]);
    sum += d * d;
  }
  return Psnr(sum, reference.size());
}

// The decoder writes blue, green, red, alpha.
double ColourPsnr(const SourcePicture& picture, const std::vector<std::uint8_t>& decoded) {
  const std::size_t count = std::size_t{picture.width} * picture.height;
  double sum = 0.0;
  for (std::size_t i = 0; i < count; ++i) {
    for (int c = 0; c < 3; ++c) {
      const double d = double(picture.pixels[3 * i + c]) - double(decoded[4 * i + 2 - c]);
      sum += d * d;
    }
  }
  return Psnr(sum, 3 * count);
}

HwlEncodeResult FailureResult(const Failure& failure) { return {failure.Text(), failure}; }

}  // namespace

std::string EncodeProblem(const SourcePicture& picture, const HwlEncodeOptions& options) {
  if (picture.channels != 1 && picture.channels != 3) return "pictures must have 1 or 3 channels";
  if (picture.width > 65535 || picture.height > 65535) return "pictures must be at most 65535 pixels wide and high";
  if (options.threshold && std::isnan(*options.threshold)) return "the threshold must be a number";
  std::string problem = LevelProblem(picture, options);
  return problem.empty() ? BitsProblem(options) : problem;
}

HwlEncodeResult EncodeHwlPicture(const SourcePicture& picture, const HwlEncodeOptions& options,
                                 const std::string& fileName, HwlEncodeReport& report) {
  std::string problem = EncodeProblem(picture, options);
  if (!problem.empty()) return {std::move(problem), std::nullopt};
  report = {};
  const int lastLevel = options.lastLevel.value_or(LargestLastLevel(picture.width, picture.height));
  const bool grey = EncodesGrey(picture, options);
  const std::vector<std::uint8_t> greyBytes = grey ? GreyBytes(picture) : std::vector<std::uint8_t>{};
  const MaybeFailure written = grey ? EncodeGrey(greyBytes, picture.width, picture.height, lastLevel, options,
                                                 fileName, report)
                                    : EncodeColour(picture, lastLevel, options, fileName, report);
  if (written) return FailureResult(*written);
  std::vector<std::uint8_t> decoded;
  ImageHeader header;
  const ImageLoadResult loaded = LoadImageFile(decoded, header, fileName, true);
  if (loaded.failure) return FailureResult(*loaded.failure);
  if (!loaded.decoded()) return {fileName + ": the written file does not decode: " + loaded.problem, std::nullopt};
  report.fileSize = std::filesystem::file_size(fileName);
  report.bitsPerPixel = 8.0 * double(report.fileSize) / (double(picture.width) * picture.height);
  report.psnr = grey ? GreyPsnr(greyBytes, decoded) : ColourPsnr(picture, decoded);
  return {};
}
