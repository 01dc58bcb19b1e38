// The 22 pictures as the demo's loader decodes them: sizes, and what each scene needs of them. (The
// fault matrix in tests/faults runs the demo on them: an alpha companion of the wrong size would end it.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string_view>

#include "images/demo_pictures.h"
#include "tests/assets/content_files.h"

namespace {

// Share of pixels whose blue (the alpha source) is at least `level`.
double ShareAtLeast(const DecodedPicture& picture, int level) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < picture.pixels.size(); i += 4) count += picture.pixels[i] >= level;
  return 4.0 * double(count) / double(picture.pixels.size());
}

// The brightest blue in a row.
int RowPeak(const DecodedPicture& picture, int y) {
  int peak = 0;
  for (int x = 0; x < picture.width(); ++x) peak = std::max(peak, static_cast<int>(picture.Blue(x, y)));
  return peak;
}

// Colour files, 256 x 256 but for the flower, the titles and the two text pictures; 2 MB in all.
TEST(Pictures, EveryFileDecodesAsColourAtItsSize) {
  std::uintmax_t total = 0;
  for (const DemoPicture& entry : kDemoPictures) {
    const std::string_view file = entry.file;
    const bool large = file == "data/flower1.hwl" || file == "data/text_vmb1.hwl" || file == "data/credits.hwl" ||
                       file == "data/loading.hwl" || file == "data/text_vmb2.hwl";
    const DecodedPicture picture = LoadDemoPicture(entry.file);
    EXPECT_EQ(picture.header.bitsPerPixel, 24) << file << ": the textures read four bytes per pixel";
    EXPECT_EQ(std::pair(picture.width(), picture.height()),
              std::pair(large ? 512 : 256, file == "data/text_vmb2.hwl" ? 1024 : large ? 512 : 256)) << file;
    total += std::filesystem::file_size(DemoFile(entry.file));
  }
  EXPECT_LE(total, 2'000'000u);
}

// The flower is opaque in the middle, clear at the corners; tinted dark red the tiles show the red
// channel, so the petals must be bright there too.
TEST(Pictures, FlowerIsOpaqueInTheMiddleAndClearAtTheCornersAndTheSignLightOnBlack) {
  const DecodedPicture flower = LoadDemoPicture("data/flower1.hwl");
  const int c = flower.width() / 2, w = flower.width(), h = flower.height();
  EXPECT_TRUE(flower.Blue(c, c) > 180 && flower.Blue(c + 150, c) > 180 && flower.Red(c + 150, c) > 180) << "a petal";
  EXPECT_TRUE(flower.Blue(4, 4) < 8 && flower.Blue(w - 5, h - 5) < 8);
  const double opaque = ShareAtLeast(flower, 128);
  EXPECT_TRUE(opaque > 0.35 && opaque < 0.8) << opaque;
  const DecodedPicture sign = LoadDemoPicture("data/signoverlay.hwl");  // light on black
  EXPECT_TRUE(sign.Red(2, 2) < 8 && sign.Red(sign.width() / 2, sign.height() / 2) > 200);
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

// The seam (after the last row or column) against 3 × the mean step inside, with room for one full step.
bool Seamless(const DecodedPicture& alpha, bool columns) {
  const int n = columns ? alpha.width() : alpha.height();
  double sum = 0.0;
  for (int y = 0; y < n; ++y) sum += StepAfter(alpha, y, columns);
  return StepAfter(alpha, n - 1, columns) <= 3.0 * sum / n + 255.0;
}

// Across the seams a silhouette changes no more than between neighbouring rows or columns inside; it
// frames the view but leaves it open, its middle (the screen is the tile's top three quarters) and its
// corner clear.
TEST(Pictures, OverlaysLeaveTheirCornerClearAndTileWithoutSeams) {
  for (int n = 1; n <= 6; ++n) {
    const DecodedPicture alpha = LoadDemoPicture("data/overlay" + std::to_string(n) + "_alpha.hwl");
    const int w = alpha.width(), h = alpha.height();
    EXPECT_TRUE(Seamless(alpha, false) && Seamless(alpha, true)) << n;
    const double covered = ShareAtLeast(alpha, 128);
    EXPECT_TRUE(covered > 0.08 && covered < 0.5) << n << ": " << covered;
    EXPECT_TRUE(alpha.Blue(w / 2, static_cast<int>(h * 0.45)) < 64 && alpha.Blue(0, 0) < 4) << n;
  }
}

TEST(Pictures, WaveTextHasLettersInEachSheetsBandAndNothingBelow) {
  const DecodedPicture text = LoadDemoPicture("data/text_vmb1.hwl");
  const int h = text.height();
  for (int at : {0, 75, 150, 232}) EXPECT_GT(RowPeak(text, int((0.03 + (at + 40.5) / 450.0) * h)), 200) << at;
  EXPECT_LT(RowPeak(text, h - 4), 16) << "below the last sheet";
}

// Line k is shown from (k - 1) × 0.0214 to k × 0.0214 of the height; line 0 wraps to the bottom band.
TEST(Pictures, TextLinesAreFortySevenBrightBandsBetweenDarkRows) {
  const DecodedPicture lines = LoadDemoPicture("data/text_vmb2.hwl");
  const double h = lines.height(), band = 0.0214 * h;
  for (int k = 1; k <= 46; ++k) {
    EXPECT_GT(RowPeak(lines, int((k - 0.5) * band)), 200) << "line " << k;
    EXPECT_TRUE(k == 46 || RowPeak(lines, int(k * band + 0.5)) < 40) << "after line " << k;
  }
  EXPECT_GT(RowPeak(lines, static_cast<int>(h - band / 2.0)), 200) << "line 0";
  EXPECT_LT(RowPeak(lines, static_cast<int>(((45.5 * band) + (h - band / 2.0)) / 2.0)), 40) << "after line 46";
  EXPECT_LT(RowPeak(lines, 0), 40);
}


}  // namespace
