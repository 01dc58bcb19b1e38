// SetAlpha and MergeAlpha work on the pixel buffer alone: no GL context is needed.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "images/texture.h"
#include "base/failure_trap.h"

namespace {

constexpr std::uint8_t kGuard = 0xA5;
constexpr std::size_t kGuardBytes = 16;

// A width x height BGRA buffer followed by guard bytes that no operation may touch.
struct GuardedImage {
  GuardedImage(std::int32_t width, std::int32_t height)
      : bytes(std::size_t(width) * height * 4 + kGuardBytes, kGuard), image{width, height, 4, bytes.data()} {}
  std::uint8_t& at(std::size_t pixel, int channel) { return bytes[pixel * 4 + channel]; }
  bool guardsIntact() const {
    for (std::size_t i = bytes.size() - kGuardBytes; i < bytes.size(); ++i) {
      if (bytes[i] != kGuard) return false;
    }
    return true;
  }
  std::vector<std::uint8_t> bytes;
  TextureImage image;
};

TEST(TextureAlpha, MergeWithItselfCopiesBlueAndKeepsColour) {
  GuardedImage t(3, 2);
  for (std::size_t k = 0; k < 6; ++k) {
    t.at(k, 0) = 17;
    t.at(k, 1) = 80;
    t.at(k, 2) = 200;
    t.at(k, 3) = 0;
  }
  MergeAlpha(t.image, t.image);
  for (std::size_t k = 0; k < 6; ++k) {
    EXPECT_EQ(t.at(k, 3), 17);
    EXPECT_EQ(t.at(k, 0), 17);
    EXPECT_EQ(t.at(k, 1), 80);
    EXPECT_EQ(t.at(k, 2), 200);
  }
  EXPECT_TRUE(t.guardsIntact());
}

TEST(TextureAlpha, SetThenMergeOverwritesEveryAlphaAndStaysInsideTheBuffer) {
  GuardedImage target(5, 3);
  GuardedImage source(5, 3);
  for (std::size_t k = 0; k < 15; ++k) {
    target.at(k, 0) = std::uint8_t(10 + k);
    target.at(k, 1) = 1;
    target.at(k, 2) = 2;
    source.at(k, 0) = std::uint8_t(k * 11);  // never 255
    source.at(k, 3) = 99;
  }
  SetAlpha(target.image, 255);
  for (std::size_t k = 0; k < 15; ++k) ASSERT_EQ(target.at(k, 3), 255);
  EXPECT_TRUE(target.guardsIntact());

  MergeAlpha(target.image, source.image);
  for (std::size_t k = 0; k < 15; ++k) {
    EXPECT_EQ(target.at(k, 3), source.at(k, 0)) << "pixel " << k;
    EXPECT_EQ(target.at(k, 0), 10 + k) << "colour bytes stay";
    EXPECT_EQ(target.at(k, 1), 1);
    EXPECT_EQ(target.at(k, 2), 2);
    EXPECT_EQ(source.at(k, 3), 99) << "the source is only read";
  }
  EXPECT_TRUE(target.guardsIntact());
  EXPECT_TRUE(source.guardsIntact());
}

TEST(TextureAlpha, LargerSourceIsReadOnlyAsFarAsTheTarget) {
  GuardedImage target(2, 2);
  GuardedImage source(4, 4);
  for (std::size_t k = 0; k < 16; ++k) source.at(k, 0) = std::uint8_t(k + 1);
  MergeAlpha(target.image, source.image);
  for (std::size_t k = 0; k < 4; ++k) EXPECT_EQ(target.at(k, 3), k + 1);
  EXPECT_TRUE(target.guardsIntact());
}

TEST(TextureAlpha, SmallerSourceIsFatalAndLeavesTheTargetAlone) {
  GuardedImage target(4, 4);
  GuardedImage source(4, 3);
  const std::vector<std::uint8_t> before = target.bytes;
  FailureTrap trap;
  try {
    MergeAlpha(target.image, source.image);
    ADD_FAILURE() << "a smaller source was read";
  } catch (const FatalErrorRaised& error) {
    EXPECT_EQ(error.module, "zenTexture");
    EXPECT_EQ(error.message, "Alpha source has fewer pixels than the Texture");
  }
  EXPECT_EQ(target.bytes, before);
}

}  // namespace
