// Pictures and files for the codec tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "images/hwl.h"
#include "images/internal/hwl_writer.h"
#include "tests/images/reference_decoder.h"

// A smooth, slowly varying RGB picture (interleaved), the kind the demo's textures are.
Bytes SmoothColourPixels(std::uint32_t width, std::uint32_t height);
// One channel of the same.
Bytes SmoothGreyPixels(std::uint32_t width, std::uint32_t height);

// A fresh path in the test program's temporary folder.
std::string TempFile(const std::string& name);
Bytes ReadFileBytes(const std::string& path);
inline std::string ToString(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }
void WriteFileBytes(const std::string& path, const Bytes& bytes);

// Encodes through the picture encoder into `path` (a fresh file when empty); fails the test unless it
// encodes. Returns the file's bytes.
Bytes EncodeToBytes(const SourcePicture& picture, const HwlEncodeOptions& options, std::string path = "");
Bytes SmoothColourFile(std::uint32_t width, std::uint32_t height, const HwlEncodeOptions& options = {});

// The bytes WriteImageFile writes for these planes, through a temporary file.
Bytes WrittenBytes(const ChannelPlanes& planes, std::uint32_t W, std::uint32_t H, int bitsPerPixel, int lastLevel,
                   const ChannelScales& scales, const ChannelBits& valueBits);

// Decodes bytes through the stream form of LoadImageFile; fails the test unless it decodes.
Bytes DecodeBytes(const Bytes& file, ImageHeader& header);

ImageHeader HeaderOf(const Bytes& file);
Bytes WithHeader(Bytes file, const ImageHeader& header);

// Parameterised tests that run once with the decoder's AVX2 loops allowed and once without them (on
// a processor without AVX2 both runs take the portable loops).
class OnBothDecoderPaths : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override;
  void TearDown() override;
};
#define INSTANTIATE_ON_BOTH_DECODER_PATHS(suite) \
  INSTANTIATE_TEST_SUITE_P(Paths, suite, testing::Bool(), \
                           [](const auto& info) { return info.param ? "Avx2Allowed" : "Portable"; })
