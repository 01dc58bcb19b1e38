// Pictures, files and the reference decoder for the codec tests.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "images/hwl.h"
#include "images/internal/hwl_writer.h"

using Bytes = std::vector<std::uint8_t>;

// The tests' reference decoder, written straight from the format's description in whole planes and
// extended precision, where the engine streams rows and takes binary64 shortcuts: both must give the
// same bytes. It takes 8- and 24-bit files whose blocks are all there; a colour pixel is (B, G, R, 0).
Bytes ReferenceDecode(const Bytes& file);
std::array<std::uint8_t, 4> ReferenceColourPixel(double y, double u, double v);

// Smooth, slowly varying pictures (interleaved RGB, or one channel), the kind the demo's textures are.
Bytes SmoothColourPixels(std::uint32_t width, std::uint32_t height);
Bytes SmoothGreyPixels(std::uint32_t width, std::uint32_t height);

// A fresh path in the test program's temporary folder (removed at exit); whole files.
std::string TempFile(const std::string& name);
Bytes ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& bytes);
inline std::string ToString(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// The file the picture encoder writes (into `path`, or a fresh file); fails the test unless it encodes.
Bytes EncodeToBytes(const SourcePicture& picture, const HwlEncodeOptions& options, std::string path = "");
Bytes SmoothColourFile(std::uint32_t width, std::uint32_t height, const HwlEncodeOptions& options = {});
// The bytes WriteImageFile writes for these planes; fails the test unless a grey file's unused widths are 0.
Bytes WrittenBytes(const ChannelPlanes& planes, std::uint32_t W, std::uint32_t H, int bitsPerPixel, int lastLevel,
                   const ChannelScales& scales, const ChannelBits& valueBits);
// Decodes through the stream form of LoadImageFile; fails the test unless it decodes.
Bytes DecodeBytes(const Bytes& file, ImageHeader& header);
ImageHeader HeaderOf(const Bytes& file);
Bytes WithHeader(Bytes file, const ImageHeader& header);

// Runs a parameterised test with the decoder's AVX2 loops allowed and without them (on a processor
// without AVX2 both runs take the portable loops).
class OnBothDecoderPaths : public testing::TestWithParam<bool> {
  void SetUp() override;
  void TearDown() override;
};
#define INSTANTIATE_ON_BOTH_DECODER_PATHS(suite) \
  INSTANTIATE_TEST_SUITE_P(Paths, suite, testing::Bool(), \
                           [](const auto& info) { return info.param ? "Avx2Allowed" : "Portable"; })
