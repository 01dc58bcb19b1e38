// The loading screen's picture and progress bar, found in the read-back pixels.
#include "runtime/loading_screen.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <vector>

#include "images/texture.h"
#include "tests/support/test_pictures.h"

namespace {

constexpr int kW = 320;
constexpr int kH = 240;

class LoadingScreenGl : public HeadlessGlSuite<kW, kH> {
 public:
  static void SetUpTestSuite() {
    HeadlessGlSuite::SetUpTestSuite();
    WriteColourPicture("data/loading.hwl", 64, 64, [](std::uint32_t, std::uint32_t) { return Rgb{100, 100, 100}; });
    LoadingScreenInit();
  }
  static void TearDownTestSuite() {
    DestroyLoadingTexture();
    HeadlessGlSuite::TearDownTestSuite();
  }
};

using Pixels = std::vector<std::array<std::uint8_t, 4>>;

Pixels ShowAndRead(double p) {
  ShowProgress(p);
  Pixels pixels(std::size_t(kW) * kH);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kW, kH, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

bool IsBar(const std::array<std::uint8_t, 4>& c) { return c[0] >= 120 && c[0] <= 135 && c[1] < 8 && c[2] < 8; }
bool IsPicture(const std::array<std::uint8_t, 4>& c) {
  return c[0] > 80 && c[0] < 120 && c[1] > 80 && c[1] < 120 && c[2] > 80 && c[2] < 120;
}

struct Span {
  int left, right;  // first covered column, one past the last
};

std::optional<Span> SpanInRow(const Pixels& pixels, int row, bool (*match)(const std::array<std::uint8_t, 4>&)) {
  std::optional<Span> span;
  for (int x = 0; x < kW; ++x) {
    if (!match(pixels[row * kW + x])) continue;
    if (!span) span = Span{x, x + 1};
    span->right = x + 1;
  }
  return span;
}

// The bar's middle row: the bar sits in the picture's lower part.
std::optional<Span> BarSpan(const Pixels& pixels) {
  std::vector<int> rows;
  for (int row = 0; row < kH; ++row) {
    if (SpanInRow(pixels, row, IsBar)) rows.push_back(row);
  }
  if (rows.empty()) return std::nullopt;
  return SpanInRow(pixels, rows[rows.size() / 2], IsBar);
}

TEST_F(LoadingScreenGl, BarAtHalfEndsAtTheWindowsCentre) {
  ASSERT_NE(loadingTexture, nullptr);
  EXPECT_EQ(loadingTexture->components, 3);
  const Pixels pixels = ShowAndRead(0.5);
  const std::optional<Span> bar = BarSpan(pixels);
  ASSERT_TRUE(bar);
  EXPECT_NEAR(bar->right, kW / 2, 1);
  const std::array<std::uint8_t, 4> corner = pixels[0];
  EXPECT_EQ(corner[0], 255) << "orange around the picture";
  EXPECT_EQ(corner[1], 191);
  EXPECT_EQ(corner[2], 0);
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(LoadingScreenGl, FullBarReachesThePicturesRightEdgeAndNoneIsDrawnAtZero) {
  const Pixels full = ShowAndRead(1.0);
  const std::optional<Span> bar = BarSpan(full);
  const std::optional<Span> picture = SpanInRow(full, kH / 2, IsPicture);
  ASSERT_TRUE(bar);
  ASSERT_TRUE(picture);
  EXPECT_NEAR(bar->right, picture->right, 2);
  // Both ends of the bar lie symmetrically about the centre.
  EXPECT_NEAR(bar->left + bar->right, kW, 1);
  EXPECT_NEAR(picture->left + picture->right, kW, 1);

  const Pixels half = ShowAndRead(0.5);
  EXPECT_EQ(BarSpan(half)->left, bar->left) << "the bar grows from a fixed left end";

  EXPECT_FALSE(BarSpan(ShowAndRead(0.0))) << "at 0 the bar has no width";
}

}  // namespace
