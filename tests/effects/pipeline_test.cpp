// The render pipeline and the zoom blur on the offscreen context: pixels read back and the state
// that each step leaves.
#define GL_GLEXT_PROTOTYPES  // glWindowPos2i
#include "effects/effects.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "tests/support/gl_state.h"

namespace {

constexpr int kW = 160;
constexpr int kH = 100;  // an aspect other than 4/3, so the frame's perspective shows whose it is
constexpr int kRenderSize = 256;

using PipelineGl = HeadlessGlSuite<kW, kH>;

using Pixel = std::array<std::uint8_t, 4>;
using Pixels = std::vector<Pixel>;  // rows bottom first, as GL reads them

Pixels ReadWindow() {
  Pixels pixels(std::size_t(kW) * kH);
  glReadPixels(0, 0, kW, kH, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

const Pixel& At(const Pixels& pixels, int x, int row) { return pixels[row * kW + x]; }

// Red grows to the right, green upwards: linear, so the texture filter reproduces it exactly
// between texels, and a flipped or shifted copy shows.
double PatternRed(double x) { return x + 40; }
double PatternGreen(double row) { return 2 * row + 20; }
constexpr std::uint8_t kPatternBlue = 128;

Pixels DrawPattern() {
  Pixels pattern(std::size_t(kW) * kH);
  for (int i = 0; i < kW * kH; ++i)
    pattern[i] = {Pixel::value_type(PatternRed(i % kW)), Pixel::value_type(PatternGreen(i / kW)), kPatternBlue, 255};
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  glWindowPos2i(0, 0);
  glDrawPixels(kW, kH, GL_RGBA, GL_UNSIGNED_BYTE, pattern.data());
  return pattern;
}

// Pixel (x, row) after the blur over black, worked out layer by layer: layer i samples the linear
// pattern at the point its inset maps the pixel to and is blended over what the layers before it left.
std::array<double, 3> BlurredPixel(int x, int row) {
  float a = 0.5f;
  std::array<double, 3> colour{};
  for (int i = 1; i <= 20; ++i, a -= 0.5f / 20) {
    const double inset = static_cast<float>(0.2L * i / 100);
    const double s = inset + (x + 0.5) / kW * (double(kW) / kRenderSize - 2 * inset);
    const double t = inset + (row + 0.5) / kH * (double(kH) / kRenderSize - 2 * inset);
    const std::array<double, 3> layer = {PatternRed(s * kRenderSize - 0.5), PatternGreen(t * kRenderSize - 0.5),
                                         double(kPatternBlue)};
    for (int c = 0; c < 3; ++c) colour[c] = std::round(a * layer[c] + (1 - a) * colour[c]);
  }
  return colour;
}

// The render texture: one level, clamped, left unbound until the capture binds it. Whatever the
// enables before them, the capture and the blur draw the same and give the enables back.
TEST_F(PipelineGl, CaptureRedrawsUprightZoomBlurLaysTwentyInsetLayersAndBeginFrameClearsInTheWindowsPerspective) {
  InitPipeline(kRenderSize);
  InitFX();
  EXPECT_EQ(BoundTexture(), 0);
  constexpr GLenum kEnables[] = {GL_TEXTURE_2D, GL_BLEND, GL_DEPTH_TEST};
  for (bool on : {true, false}) {
    const Pixels pattern = DrawPattern();
    for (GLenum cap : kEnables) on ? glEnable(cap) : glDisable(cap);
    CaptureFrame();
    const Pixels captured = ReadWindow();
    int worst = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
      for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(int(pattern[i][c]) - int(captured[i][c])));
    }
    EXPECT_LE(worst, 1);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(bool(glIsEnabled(GL_BLEND)), on) << "blending is the caller's";
    EXPECT_TRUE(MatricesNear(ReadMatrix(GL_PROJECTION_MATRIX), Ortho(0, kW, kH, 0, -1, 1)));
    EXPECT_EQ(Integer(GL_MATRIX_MODE), GL_MODELVIEW);
    std::array<float, 4> colour{};
    glGetFloatv(GL_CURRENT_COLOR, colour.data());
    EXPECT_EQ(colour, (std::array<float, 4>{1, 1, 1, 1}));
    ASSERT_EQ(BoundTexture(), GLint(zenOverlayFX::renderTexture->glName));
    EXPECT_EQ(std::pair(LevelWidth(0), LevelWidth(1)), std::pair(kRenderSize, 0));
    GLint wrap[2] = {};
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap[0]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap[1]);
    EXPECT_TRUE(wrap[0] == GL_CLAMP && wrap[1] == GL_CLAMP);

    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    for (GLenum cap : kEnables) on ? glEnable(cap) : glDisable(cap);
    glBlendFunc(GL_ONE, GL_ZERO);
    glTranslatef(1, 2, 3);
    ZoomBlur(20, 0.2f, 0.5f);
    for (GLenum cap : kEnables) EXPECT_EQ(bool(glIsEnabled(cap)), on) << cap;
    EXPECT_EQ(std::pair(Integer(GL_BLEND_SRC), Integer(GL_BLEND_DST)), std::pair(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA));
    EXPECT_TRUE(MatricesNear(ReadMatrix(GL_MODELVIEW_MATRIX), Translation(1, 2, 3)));
    EXPECT_TRUE(MatricesNear(ReadMatrix(GL_PROJECTION_MATRIX), Ortho(0, kW, kH, 0, -1, 1.1)));
    EXPECT_EQ(BoundTexture(), GLint(zenOverlayFX::renderTexture->glName));
    // The centre, and pixels near the edges where the insets move the samples the most.
    const Pixels blurred = ReadWindow();
    for (const auto& [x, row] : {std::pair{kW / 2, kH / 2}, {0, kH / 2}, {kW / 2, kH - 1}, {kW - 1, 0}, {5, 90}}) {
      const std::array<double, 3> expected = BlurredPixel(x, row);
      for (int c = 0; c < 3; ++c) EXPECT_NEAR(At(blurred, x, row)[c], expected[c], 3.0) << x << "," << row << ":" << c;
    }
  }

  glClearColor(0.2f, 0.4f, 0.6f, 1);
  BeginFrame();
  EXPECT_TRUE(MatricesNear(ReadMatrix(GL_PROJECTION_MATRIX), Perspective(45, 1.6, 0.1, 100)));
  EXPECT_TRUE(MatricesNear(ReadMatrix(GL_MODELVIEW_MATRIX), Identity()));
  EXPECT_EQ(Integer(GL_MATRIX_MODE), GL_MODELVIEW);
  const Pixels cleared = ReadWindow();
  constexpr Pixel kClearColour{51, 102, 153, 255};
  EXPECT_TRUE(At(cleared, 0, 0) == kClearColour && At(cleared, kW - 1, kH - 1) == kClearColour);
}

}  // namespace
