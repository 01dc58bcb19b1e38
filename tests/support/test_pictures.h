// Small .hwl pictures written by tests.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "images/hwl.h"

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
