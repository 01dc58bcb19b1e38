// Where the build put the demo's content, and the pictures as the demo's loader decodes them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "images/hwl.h"

inline std::string DemoFile(const std::string& name) { return std::string(KELVANE_DEMO_DIR) + "/" + name; }

struct DecodedPicture {
  ImageHeader header{};
  std::vector<std::uint8_t> pixels;  // blue, green, red, 0 per pixel, rows top first
  int width() const { return header.width; }
  int height() const { return header.height; }
  std::uint8_t Blue(int x, int y) const { return pixels[(static_cast<std::size_t>(y) * width() + x) * 4]; }
  std::uint8_t Red(int x, int y) const { return pixels[(static_cast<std::size_t>(y) * width() + x) * 4 + 2]; }
};

// Decodes a picture of the demo folder with the project's loader; the test fails if it cannot.
inline DecodedPicture LoadDemoPicture(const std::string& name) {
  DecodedPicture picture;
  const ImageLoadResult result = LoadImageFile(picture.pixels, picture.header, DemoFile(name), true);
  EXPECT_TRUE(result.decoded()) << name << ": " << result.problem;
  return picture;
}
