// The 22 pictures as the demo's loader decodes them: sizes, companions, and what each scene needs
// of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string_view>

#include "images/demo_pictures.h"
#include "tests/assets/content_files.h"

namespace {

struct Size {
  const char* file;
  int width;
  int height;
};

// The pictures drawn at another size than 256 x 256.
constexpr Size kOtherSizes[] = {{"data/flower1.hwl", 512, 512},   {"data/text_vmb1.hwl", 512, 512},
                                {"data/text_vmb2.hwl", 512, 1024}, {"data/credits.hwl", 512, 512},
                                {"data/loading.hwl", 512, 512}};

Size ExpectedSize(const char* file) {
  for (const Size& size : kOtherSizes) {
    if (std::string_view(size.file) == file) return size;
  }
  return {file, 256, 256};
}

bool PowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

// Share of pixels whose blue (the alpha source) is at least `level`.
double ShareAtLeast(const DecodedPicture& picture, int level) {
  std::size_t count = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) count += picture.Blue(x, y) >= level;
  return static_cast<double>(count) / (static_cast<double>(picture.width()) * picture.height());
}

// The brightest blue in a row.
int RowPeak(const DecodedPicture& picture, int y) {
  int peak = 0;
  for (int x = 0; x < picture.width(); ++x) peak = std::max(peak, static_cast<int>(picture.Blue(x, y)));
  return peak;
}

TEST(Pictures, EveryFileDecodesAsColourAtItsPowerOfTwoSize) {
  std::uintmax_t total = 0;
  for (const DemoPicture& entry : kDemoPictures) {
    const Size expected = ExpectedSize(entry.file);
    SCOPED_TRACE(expected.file);
    const DecodedPicture picture = LoadDemoPicture(expected.file);
    EXPECT_EQ(picture.header.bitsPerPixel, 24) << "the textures read four bytes per pixel";
    EXPECT_EQ(picture.width(), expected.width);
    EXPECT_EQ(picture.height(), expected.height);
    EXPECT_TRUE(PowerOfTwo(picture.width()) && PowerOfTwo(picture.height()));
    total += std::filesystem::file_size(DemoFile(expected.file));
  }
  EXPECT_LE(total, 2'000'000u);
}

TEST(Pictures, AlphaCompanionsMatchTheirColourPictures) {
  const char* stems[] = {"background_reddir", "overlay1", "overlay2", "overlay3",
                         "overlay4",          "overlay5", "overlay6", "birdie"};
  for (const char* stem : stems) {
    SCOPED_TRACE(stem);
    const DecodedPicture colour = LoadDemoPicture(std::string("data/") + stem + ".hwl");
    const DecodedPicture alpha = LoadDemoPicture(std::string("data/") + stem + "_alpha.hwl");
    EXPECT_EQ(colour.width(), alpha.width());
    EXPECT_EQ(colour.height(), alpha.height());
  }
}

TEST(Pictures, FlowerIsOpaqueInTheMiddleAndClearAtTheCorners) {
  const DecodedPicture flower = LoadDemoPicture("data/flower1.hwl");
  const int c = flower.width() / 2;
  EXPECT_GT(flower.Blue(c, c), 180);
  EXPECT_GT(flower.Blue(c + 150, c), 180) << "a petal";
  EXPECT_LT(flower.Blue(4, 4), 8);
  EXPECT_LT(flower.Blue(flower.width() - 5, flower.height() - 5), 8);
  // Tinted dark red the tiles show the red channel: the petals must be bright there.
  EXPECT_GT(flower.Red(c + 150, c), 180);
  const double opaque = ShareAtLeast(flower, 128);
  EXPECT_GT(opaque, 0.35);
  EXPECT_LT(opaque, 0.8);
}

// Change between row y and the next (wrapping): with `columns`, between column y and the next.
double StepAfter(const DecodedPicture& alpha, int y, bool columns) {
  const int n = columns ? alpha.width() : alpha.height();
  double step = 0.0;
  for (int i = 0; i < (columns ? alpha.height() : alpha.width()); ++i)
    step += columns ? std::abs(alpha.Blue(y, i) - alpha.Blue((y + 1) % n, i))
                    : std::abs(alpha.Blue(i, y) - alpha.Blue(i, (y + 1) % n));
  return step;
}

double MeanStep(const DecodedPicture& alpha, bool columns) {
  const int n = columns ? alpha.width() : alpha.height();
  double sum = 0.0;
  for (int y = 0; y < n; ++y) sum += StepAfter(alpha, y, columns);
  return sum / n;
}

TEST(Pictures, OverlaysLeaveTheirCornerClearAndTileWithoutSeams) {
  EXPECT_LT(LoadDemoPicture("data/overlay1_alpha.hwl").Blue(0, 0), 4);
  for (int n = 1; n <= 6; ++n) {
    SCOPED_TRACE(n);
    const DecodedPicture alpha = LoadDemoPicture("data/overlay" + std::to_string(n) + "_alpha.hwl");
    const int w = alpha.width(), h = alpha.height();
    // Across the seams the picture changes no more than between neighbouring rows or columns inside.
    EXPECT_LE(StepAfter(alpha, h - 1, false), 3.0 * MeanStep(alpha, false) + 255.0);
    EXPECT_LE(StepAfter(alpha, w - 1, true), 3.0 * MeanStep(alpha, true) + 255.0);
    const double covered = ShareAtLeast(alpha, 128);
    EXPECT_GT(covered, 0.08) << "a frame that shows";
    EXPECT_LT(covered, 0.5) << "the view stays open";
    // The middle of the view (one tile: the screen is the top three quarters) is clear.
    EXPECT_LT(alpha.Blue(w / 2, static_cast<int>(h * 0.45)), 64);
  }
}

TEST(Pictures, WaveTextHasLettersInEachSheetsBandAndNothingBetween) {
  const DecodedPicture text = LoadDemoPicture("data/text_vmb1.hwl");
  const int h = text.height();
  for (int rowOffset : {0, 75, 150, 232}) {
    SCOPED_TRACE(rowOffset);
    const int middle = static_cast<int>((0.03 + (rowOffset + 40.5) / 450.0) * h);
    EXPECT_GT(RowPeak(text, middle), 200);
  }
  EXPECT_LT(RowPeak(text, h - 4), 16) << "below the last sheet";
}

TEST(Pictures, TextLinesAreFortySevenBrightBandsBetweenDarkRows) {
  const DecodedPicture lines = LoadDemoPicture("data/text_vmb2.hwl");
  const double h = lines.height();
  const double band = 0.0214 * h;
  for (int k = 1; k <= 46; ++k) {
    SCOPED_TRACE(k);
    EXPECT_GT(RowPeak(lines, static_cast<int>((k - 0.5) * band)), 200) << "line " << k;
    if (k < 46) {
      EXPECT_LT(RowPeak(lines, static_cast<int>(k * band + 0.5)), 40) << "between lines " << k << ", " << k + 1;
    }
  }
  // Line 0 is shown from -0.0214 to 0: the repeat wraps it to the bottom band.
  EXPECT_GT(RowPeak(lines, static_cast<int>(h - band / 2.0)), 200);
  const double between = ((45.5 * band) + (h - band / 2.0)) / 2.0;
  EXPECT_LT(RowPeak(lines, static_cast<int>(between)), 40) << "between line 46 and line 0";
  EXPECT_LT(RowPeak(lines, 0), 40);
}

TEST(Pictures, SignIsLightOnBlack) {
  const DecodedPicture sign = LoadDemoPicture("data/signoverlay.hwl");
  EXPECT_LT(sign.Red(2, 2), 8);
  EXPECT_GT(sign.Red(sign.width() / 2, sign.height() / 2), 200);
}

}  // namespace
