// The drawing the pictures are made of: shapes, wrapping, masks, canvas painting and rounding, text.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "tools/make-pictures/canvas.h"
#include "tools/make-pictures/shapes.h"
#include "tools/make-pictures/text_render.h"

namespace {

constexpr double kPi = std::numbers::pi;

double Area(const Mask& mask) {
  double sum = 0.0;
  for (int i = 0; i < mask.width() * mask.height(); ++i) sum += mask.at(i % mask.width(), i / mask.width());
  return sum;
}

// A shape's coverage adds up to its area (a wrapped one continues on the opposite edges, an unwrapped
// one is cut there), and it covers or leaves the pixels named.
TEST(Shapes, CoverTheirAreaAndTheirPixelsAndMasksSoftenAndCombine) {
  const struct Row {
    const char* what;
    std::function<void(Mask&)> draw;
    double area, tolerance;
    std::vector<std::tuple<int, int, float>> pixels;  // x, y, coverage
  } rows[] = {
      {"disc", [](Mask& m) { Draw(m, Disc({32, 32}, 20)); }, kPi * 400.0, 4.0, {{32, 32, 1}, {2, 2, 0}}},
      {"wrapped disc", [](Mask& m) { Draw(m, Disc({0, 0}, 10), true); }, kPi * 100.0, 2.0, {{63, 63, 1}, {0, 0, 1}}},
      {"clipped disc: the quarter inside", [](Mask& m) { Draw(m, Disc({0, 0}, 10)); }, kPi * 25.0, 1.0, {{63, 63, 0}}},
      {"clipped disc: the half inside", [](Mask& m) { Draw(m, Disc({64, 32}, 10)); }, kPi * 50.0, 2.0, {{0, 33, 0}}},
      {"polygon on pixel edges", [](Mask& m) { Draw(m, Polygon({{4, 4}, {14, 4}, {14, 14}, {4, 14}})); }, 100.0, 0.0,
       {{3, 8, 0}, {13, 13, 1}}},
      {"ellipse turned upright", [](Mask& m) { Draw(m, Ellipse({32, 32}, 24, 4, kPi / 2.0)); }, kPi * 96.0, 3.0,
       {{32, 10, 1}, {10, 32, 0}}},
      {"stroke", [](Mask& m) { Draw(m, Stroke({10, 32}, {50, 32}, 3)); }, 40.0 * 6.0 + kPi * 9.0, 3.0, {{30, 36, 0}}},
  };
  for (const Row& row : rows) {
    Mask mask(64, 64);
    row.draw(mask);
    EXPECT_NEAR(Area(mask), row.area, row.tolerance) << row.what;
    for (const auto& [x, y, v] : row.pixels) EXPECT_FLOAT_EQ(mask.at(x, y), v) << row.what << ' ' << x << ',' << y;
  }
  // Softening keeps the area and wraps too; masks combine.
  Mask mask(32, 32);
  Draw(mask, Disc({0, 0}, 5), true);
  const double before = Area(mask);
  mask.Soften(2);
  EXPECT_NEAR(Area(mask), before, 1e-3);
  EXPECT_FLOAT_EQ(mask.at(1, 0), mask.at(30, 0));
  EXPECT_FLOAT_EQ(mask.at(0, 1), mask.at(0, 30));
  Mask a(16, 16), b(16, 16);  // columns 0 to 8 and 6 to 12
  Draw(a, Polygon({{0, 0}, {8, 0}, {8, 16}, {0, 16}}));
  Draw(b, Polygon({{6, 0}, {12, 0}, {12, 16}, {6, 16}}));
  Mask cut = a, both = a, either = a;
  cut.Subtract(b), both.Intersect(b), either.Unite(b);
  EXPECT_EQ(std::tuple(Area(cut), Area(both), Area(either)), std::tuple(96.0, 32.0, 192.0));
}

TEST(Canvases, BytesRoundAndClampPaintMixesAndModulateDarkens) {
  Canvas canvas(2, 1);
  canvas.Set(0, 0, {254.6, -3.0, 300.0});
  canvas.Set(1, 0, {0.4, 127.5, 128.49});
  EXPECT_EQ(canvas.Bytes(), (std::vector<std::uint8_t>{255, 0, 255, 0, 128, 128}));
  Canvas painted(2, 1, {100, 100, 100});  // by coverage times opacity
  Mask mask(2, 1);
  mask.at(0, 0) = 1.0f, mask.at(1, 0) = 0.5f;
  painted.Paint(mask, {200, 0, 100}, 0.5);
  EXPECT_EQ(std::tuple(painted.Get(0, 0).r, painted.Get(0, 0).g, painted.Get(1, 0).r, painted.Get(1, 0).b),
            std::tuple(150.0, 50.0, 125.0, 100.0));
  Canvas modulated(1, 1, {200, 100, 50}), factor(1, 1, {127.5, 255, 0});  // by the factor picture / 255
  Mask all(1, 1);
  all.Invert();
  modulated.Modulate(factor, all, 1.0);
  const Colour dark = modulated.Get(0, 0);
  EXPECT_EQ(std::tuple(dark.r, dark.g, dark.b), std::tuple(100.0, 100.0, 0.0));
}

TEST(Text, LettersSitOnTheBaselineWithinTheirWidthAndAMissingFontNamesItsFile) {
  Font font(FontPath(kBoldFace), 40);
  EXPECT_NEAR(font.Width("HH"), 2.0 * font.Width("H"), 1.0);
  EXPECT_TRUE(font.CapHeight() > 20.0 && font.CapHeight() < 40.0) << font.CapHeight();
  Mask mask(128, 64);
  font.Draw(mask, "HI", 10, 50);
  double below = 0.0, inside = 0.0, left = 0.0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 128; ++x) (y >= 50 ? below : x < 9 ? left : inside) += mask.at(x, y);
  EXPECT_EQ(std::pair(below, left), std::pair(0.0, 0.0));
  EXPECT_GT(inside, 300.0);
  EXPECT_GT(mask.at(static_cast<int>(10 + font.Width("HI") - 8), 30), 0.5f) << "the I";
  try {
    ADD_FAILURE() << "opened a missing font, cap height " << Font("/nonexistent/Nothing.ttf", 10).CapHeight();
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find("/nonexistent/Nothing.ttf"), std::string::npos);
  }
}

}  // namespace
