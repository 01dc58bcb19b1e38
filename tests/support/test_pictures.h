// Small .hwl pictures written for the GL tests, and the headless window they are drawn in.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "images/hwl.h"
#include "platform/window.h"

using Rgb = std::array<std::uint8_t, 3>;

// Writes a colour picture whose pixel (x, y), row 0 at the top, is `colour(x, y)`.
inline void WriteColourPicture(const std::string& fileName, std::uint32_t width, std::uint32_t height,
                               const std::function<Rgb(std::uint32_t, std::uint32_t)>& colour) {
  std::filesystem::path parent = std::filesystem::path(fileName).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent);
  std::vector<std::uint8_t> rgb;
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      const Rgb c = colour(x, y);
      rgb.insert(rgb.end(), c.begin(), c.end());
    }
  }
  HwlEncodeReport report;
  const HwlEncodeResult encoded = EncodeHwlPicture({rgb.data(), width, height, 3}, {}, fileName, report);
  ASSERT_TRUE(encoded.encoded()) << encoded.problem;
}

// One headless window (SDL's offscreen driver) per test suite.
template <int Width, int Height>
class HeadlessGlSuite : public ::testing::Test {
 public:
  static constexpr int kWidth = Width;
  static constexpr int kHeight = Height;
  static void SetUpTestSuite() { ASSERT_TRUE(zenCreateWindow("Glimmer", Width, Height, 32, false)); }
  static void TearDownTestSuite() { WindowClose(); }
};

inline GLint BoundTexture() {
  GLint name = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
  return name;
}

inline GLint LevelWidth(GLint level) {
  GLint width = -1;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
  return width;
}
