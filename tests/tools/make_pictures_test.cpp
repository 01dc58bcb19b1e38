// The drawing the pictures are made of: coverage of shapes, wrapping, mask operations, canvas
// painting and rounding, and text placement.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tools/make-pictures/canvas.h"
#include "tools/make-pictures/shapes.h"
#include "tools/make-pictures/text_render.h"

namespace {

double Area(const Mask& mask) {
  double sum = 0.0;
  for (int y = 0; y < mask.height(); ++y)
    for (int x = 0; x < mask.width(); ++x) sum += mask.at(x, y);
  return sum;
}

TEST(Shapes, DiscCoversItsArea) {
  Mask mask(64, 64);
  Draw(mask, Disc({32, 32}, 20));
  EXPECT_NEAR(Area(mask), std::numbers::pi * 400.0, 4.0);
  EXPECT_FLOAT_EQ(mask.at(32, 32), 1.0f);
  EXPECT_FLOAT_EQ(mask.at(2, 2), 0.0f);
}

TEST(Shapes, WrappedShapeContinuesOnTheOppositeEdges) {
  Mask wrapped(64, 64), clipped(64, 64);
  Draw(wrapped, Disc({0, 0}, 10), true);
  Draw(clipped, Disc({0, 0}, 10));
  EXPECT_NEAR(Area(wrapped), std::numbers::pi * 100.0, 2.0);
  EXPECT_NEAR(Area(clipped), std::numbers::pi * 25.0, 1.0) << "only the quarter inside";
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) EXPECT_FLOAT_EQ(wrapped.at(x, y), wrapped.at(63 - x, 63 - y)) << x << "," << y;
}

TEST(Shapes, PolygonOnPixelEdgesCoversWholePixels) {
  Mask mask(32, 32);
  Draw(mask, Polygon({{4, 4}, {14, 4}, {14, 14}, {4, 14}}));
  EXPECT_DOUBLE_EQ(Area(mask), 100.0);
  EXPECT_FLOAT_EQ(mask.at(3, 8), 0.0f);
  EXPECT_FLOAT_EQ(mask.at(13, 13), 1.0f);
}

TEST(Shapes, RotatedEllipseLiesAlongItsAngle) {
  Mask mask(64, 64);
  Draw(mask, Ellipse({32, 32}, 24, 4, std::numbers::pi / 2.0));
  EXPECT_FLOAT_EQ(mask.at(32, 10), 1.0f) << "long axis vertical";
  EXPECT_FLOAT_EQ(mask.at(10, 32), 0.0f);
}

TEST(Shapes, StrokeIsAsWideAsItsBrush) {
  Mask mask(64, 64);
  Draw(mask, Stroke({10, 32}, {50, 32}, 3));
  EXPECT_NEAR(Area(mask), 40.0 * 6.0 + std::numbers::pi * 9.0, 3.0);
  EXPECT_FLOAT_EQ(mask.at(30, 36), 0.0f);
}

TEST(Masks, SofteningKeepsTheCoveredAreaAndWraps) {
  Mask mask(32, 32);
  Draw(mask, Disc({0, 16}, 5), true);
  const double before = Area(mask);
  mask.Soften(2);
  EXPECT_NEAR(Area(mask), before, 1e-3);
  EXPECT_FLOAT_EQ(mask.at(1, 16), mask.at(30, 16));
}

TEST(Masks, SubtractIntersectAndUnite) {
  Mask a(16, 16), b(16, 16);
  Draw(a, Polygon({{0, 0}, {8, 0}, {8, 16}, {0, 16}}));
  Draw(b, Polygon({{4, 0}, {12, 0}, {12, 16}, {4, 16}}));
  Mask cut = a, both = a, either = a;
  cut.Subtract(b);
  both.Intersect(b);
  either.Unite(b);
  EXPECT_DOUBLE_EQ(Area(cut), 64.0);
  EXPECT_DOUBLE_EQ(Area(both), 64.0);
  EXPECT_DOUBLE_EQ(Area(either), 192.0);
}

TEST(Canvases, BytesRoundAndClamp) {
  Canvas canvas(2, 1);
  canvas.Set(0, 0, {254.6, -3.0, 300.0});
  canvas.Set(1, 0, {0.4, 127.5, 128.49});
  EXPECT_EQ(canvas.Bytes(), (std::vector<std::uint8_t>{255, 0, 255, 0, 128, 128}));
}

TEST(Canvases, PaintMixesByCoverageAndOpacity) {
  Canvas canvas(2, 1, {100, 100, 100});
  Mask mask(2, 1);
  mask.at(0, 0) = 1.0f;
  mask.at(1, 0) = 0.5f;
  canvas.Paint(mask, {200, 0, 100}, 0.5);
  EXPECT_DOUBLE_EQ(canvas.Get(0, 0).r, 150.0);
  EXPECT_DOUBLE_EQ(canvas.Get(0, 0).g, 50.0);
  EXPECT_DOUBLE_EQ(canvas.Get(1, 0).r, 125.0);
  EXPECT_DOUBLE_EQ(canvas.Get(1, 0).b, 100.0);
}

TEST(Canvases, ModulateDarkensByTheFactorPicture) {
  Canvas canvas(1, 1, {200, 100, 50}), factor(1, 1, {127.5, 255, 0});
  Mask all(1, 1);
  all.at(0, 0) = 1.0f;
  canvas.Modulate(factor, all, 1.0);
  EXPECT_DOUBLE_EQ(canvas.Get(0, 0).r, 100.0);
  EXPECT_DOUBLE_EQ(canvas.Get(0, 0).g, 100.0);
  EXPECT_DOUBLE_EQ(canvas.Get(0, 0).b, 0.0);
}

TEST(Text, LettersSitOnTheBaselineWithinTheirWidth) {
  Font font(FontPath(kBoldFace), 40);
  EXPECT_NEAR(font.Width("HH"), 2.0 * font.Width("H"), 1.0);
  EXPECT_GT(font.CapHeight(), 20.0);
  EXPECT_LT(font.CapHeight(), 40.0);
  Mask mask(128, 64);
  font.Draw(mask, "HI", 10, 50);
  double below = 0.0, inside = 0.0, left = 0.0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 128; ++x) {
      if (y > 51) below += mask.at(x, y);
      else if (x < 9) left += mask.at(x, y);
      else inside += mask.at(x, y);
    }
  EXPECT_EQ(below, 0.0);
  EXPECT_EQ(left, 0.0);
  EXPECT_GT(inside, 300.0);
  EXPECT_GT(mask.at(static_cast<int>(10 + font.Width("HI") - 8), 30), 0.5f) << "the I";
}

TEST(Text, AFontThatIsMissingNamesItsFile) {
  try {
    Font font("/nonexistent/Nothing.ttf", 10);
    FAIL() << "opened a missing font";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find("/nonexistent/Nothing.ttf"), std::string::npos);
  }
}

}  // namespace
