#include "tests/assets/content_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "images/hwl.h"

DecodedPicture LoadDemoPicture(const std::string& name) {
  DecodedPicture picture;
  const ImageLoadResult result = LoadImageFile(picture.pixels, picture.header, DemoFile(name), true);
  EXPECT_TRUE(result.decoded()) << name << ": " << result.problem;
  return picture;
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
