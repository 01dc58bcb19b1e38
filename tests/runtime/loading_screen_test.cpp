// The loading screen's picture and progress bar, found in the read-back pixels.
#include "runtime/internal/loading_screen.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <vector>

#include "images/hwl.h"
#include "images/texture.h"
#include "tests/support/gl_state.h"

namespace {

constexpr int kW = 320;
constexpr int kH = 240;

class LoadingScreenGl : public HeadlessGlSuite<kW, kH> {
 public:
  static void SetUpTestSuite() {
    HeadlessGlSuite::SetUpTestSuite();
    std::filesystem::create_directories("data");
    const std::vector<std::uint8_t> grey(64 * 64 * 3, 100);
    HwlEncodeReport report;
    ASSERT_TRUE(EncodeHwlPicture({grey.data(), 64, 64, 3}, {}, "data/loading.hwl", report).encoded());
    LoadingScreenInit();
  }
  static void TearDownTestSuite() {
    DestroyLoadingTexture();
    HeadlessGlSuite::TearDownTestSuite();
  }
};

using Pixel = std::array<std::uint8_t, 4>;
using Pixels = std::vector<Pixel>;

Pixels ShowAndRead(double p) {
  ShowProgress(p);
  Pixels pixels(std::size_t(kW) * kH);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kW, kH, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

bool IsBar(const Pixel& c) { return c[0] >= 120 && c[0] <= 135 && c[1] < 8 && c[2] < 8; }
bool IsPicture(const Pixel& c) { return c[0] > 80 && c[0] < 120 && c[1] > 80 && c[1] < 120 && c[2] > 80 && c[2] < 120; }

struct Span {
  int left = kW, right = 0;  // first covered column, one past the last
};

// The columns that `match` covers anywhere on the screen (right 0: none).
Span Covered(const Pixels& pixels, bool (*match)(const Pixel&)) {
  Span span;
  for (int i = 0; i < kW * kH; ++i) {
    if (match(pixels[i])) span = {std::min(span.left, i % kW), std::max(span.right, i % kW + 1)};
  }
  return span;
}

TEST_F(LoadingScreenGl, TheBarGrowsFromAFixedLeftEndToThePicturesRightEdge) {
  ASSERT_NE(loadingTexture, nullptr);
  EXPECT_EQ(loadingTexture->components, 3);
  const Pixels half = ShowAndRead(0.5);
  EXPECT_EQ(half[0], (Pixel{255, 191, 0, 255})) << "orange around the picture";
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  const Span halfBar = Covered(half, IsBar);
  EXPECT_NEAR(halfBar.right, kW / 2, 1) << "half way ends at the window's centre";
  const Pixels full = ShowAndRead(1.0);
  const Span bar = Covered(full, IsBar);
  const Span picture = Covered(full, IsPicture);
  EXPECT_NEAR(bar.right, picture.right, 2);
  EXPECT_NEAR(bar.left + bar.right, kW, 1) << "both ends of the bar lie symmetrically about the centre";
  EXPECT_NEAR(picture.left + picture.right, kW, 1);
  EXPECT_EQ(halfBar.left, bar.left);
  EXPECT_EQ(Covered(ShowAndRead(0.0), IsBar).right, 0) << "at 0 the bar has no width";
}

}  // namespace
