// The render pipeline and the zoom blur on the offscreen context: pixels read back and the state
// that each step leaves.
#include "effects/overlay_fx.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "tests/effects/gl_state.h"
#include "tests/support/test_pictures.h"

namespace {

constexpr int kW = 160;
constexpr int kH = 100;  // an aspect other than 4/3, so the frame's perspective shows whose it is
constexpr int kRenderSize = 256;

class PipelineGl : public HeadlessGlSuite<kW, kH> {
 public:
  static void SetUpTestSuite() {
    HeadlessGlSuite::SetUpTestSuite();
    InitPipeline(kRenderSize);
    InitFX();
  }
};

using Pixels = std::vector<std::array<std::uint8_t, 4>>;  // rows bottom first, as GL reads them

Pixels ReadWindow() {
  Pixels pixels(std::size_t(kW) * kH);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kW, kH, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

const std::array<std::uint8_t, 4>& At(const Pixels& pixels, int x, int row) { return pixels[row * kW + x]; }

// Red grows to the right, green upwards: linear, so the texture filter reproduces it exactly
// between texels, and a flipped or shifted copy shows.
double PatternRed(double x) { return x + 40; }
double PatternGreen(double row) { return 2 * row + 20; }
constexpr std::uint8_t kPatternBlue = 128;

void DrawPattern() {
  Pixels pattern(std::size_t(kW) * kH);
  for (int row = 0; row < kH; ++row) {
    for (int x = 0; x < kW; ++x) {
      pattern[row * kW + x] = {std::uint8_t(PatternRed(x)), std::uint8_t(PatternGreen(row)), kPatternBlue, 255};
    }
  }
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glRasterPos2f(-1, -1);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glDrawPixels(kW, kH, GL_RGBA, GL_UNSIGNED_BYTE, pattern.data());
}

int MaxChannelDifference(const std::array<std::uint8_t, 4>& a, const std::array<std::uint8_t, 4>& b) {
  int most = 0;
  for (int c = 0; c < 3; ++c) most = std::max(most, std::abs(int(a[c]) - int(b[c])));
  return most;
}

TEST_F(PipelineGl, RenderTextureIsOneClampedLevelOrAChainAndLeftUnbound) {
  ASSERT_NE(renderTexture, nullptr);
  RenderTexture chain(64, 32, 3, GL_RGB, true);
  EXPECT_EQ(BoundTexture(), 0);
  glBindTexture(GL_TEXTURE_2D, chain.glName);
  EXPECT_EQ(LevelWidth(1), 32);
  glBindTexture(GL_TEXTURE_2D, renderTexture->glName);
  EXPECT_EQ(LevelWidth(0), kRenderSize);
  EXPECT_EQ(LevelWidth(1), 0);
  GLint wrapS = 0, wrapT = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
  EXPECT_EQ(wrapS, GL_CLAMP);
  EXPECT_EQ(wrapT, GL_CLAMP);
  glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(PipelineGl, BeginFrameClearsAndSetsTheWindowsPerspective) {
  DrawPattern();
  glClearColor(0.2f, 0.4f, 0.6f, 1);
  glTranslatef(1, 2, 3);
  BeginFrame();
  EXPECT_TRUE(MatricesNear(ReadMatrix(GL_PROJECTION_MATRIX), Perspective(45, 1.6, 0.1, 100)));
  EXPECT_TRUE(MatricesNear(ReadMatrix(GL_MODELVIEW_MATRIX), Identity()));
  EXPECT_EQ(Integer(GL_MATRIX_MODE), GL_MODELVIEW);
  const Pixels pixels = ReadWindow();
  EXPECT_EQ(MaxChannelDifference(At(pixels, 0, 0), {51, 102, 153, 255}), 0);
  EXPECT_EQ(MaxChannelDifference(At(pixels, kW - 1, kH - 1), {51, 102, 153, 255}), 0);
}

TEST_F(PipelineGl, CaptureFrameRedrawsThePictureUprightPixelForPixel) {
  DrawPattern();
  const Pixels before = ReadWindow();
  glEnable(GL_BLEND);
  CaptureFrame();
  const Pixels after = ReadWindow();
  int worst = 0;
  for (std::size_t i = 0; i < before.size(); ++i) worst = std::max(worst, MaxChannelDifference(before[i], after[i]));
  EXPECT_LE(worst, 1);
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_TRUE(glIsEnabled(GL_BLEND)) << "blending is the caller's";
  EXPECT_TRUE(MatricesNear(ReadMatrix(GL_PROJECTION_MATRIX), Ortho(0, kW, kH, 0, -1, 1)));
  EXPECT_EQ(Integer(GL_MATRIX_MODE), GL_MODELVIEW);
  std::array<float, 4> colour{};
  glGetFloatv(GL_CURRENT_COLOR, colour.data());
  EXPECT_EQ(colour, (std::array<float, 4>{1, 1, 1, 1}));
  glDisable(GL_BLEND);
}

TEST_F(PipelineGl, CaptureFrameReadsTheWindowSizeAtEveryCall) {
  DrawPattern();
  // Half the width: the left half of the picture is stretched over the whole window.
  zenWindow.width = kW / 2;
  CaptureFrame();
  zenWindow.width = kW;
  const Pixels after = ReadWindow();
  for (int x : {10, 81, 150}) {
    const double sampled = (x + 0.5) / 2 - 0.5;
    EXPECT_NEAR(At(after, x, 50)[0], PatternRed(sampled), 1.5) << "column " << x;
  }
}

struct EnableState {
  bool texture, blend, depth;
};

void Apply(GLenum cap, bool enabled) { enabled ? glEnable(cap) : glDisable(cap); }

TEST_F(PipelineGl, ZoomBlurRestoresTheEnablesAndTheModelView) {
  for (EnableState state : {EnableState{true, true, true}, EnableState{false, false, false},
                            EnableState{true, false, true}, EnableState{false, true, false}}) {
    DrawPattern();
    CaptureFrame();
    Apply(GL_TEXTURE_2D, state.texture);
    Apply(GL_BLEND, state.blend);
    Apply(GL_DEPTH_TEST, state.depth);
    glBlendFunc(GL_ONE, GL_ZERO);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    const GLint depth = Integer(GL_MODELVIEW_STACK_DEPTH);

    ZoomBlur(20, 0.2f, 0.5f);

    EXPECT_EQ(bool(glIsEnabled(GL_TEXTURE_2D)), state.texture);
    EXPECT_EQ(bool(glIsEnabled(GL_BLEND)), state.blend);
    EXPECT_EQ(bool(glIsEnabled(GL_DEPTH_TEST)), state.depth);
    EXPECT_EQ(Integer(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(Integer(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(Integer(GL_MODELVIEW_STACK_DEPTH), depth);
    EXPECT_TRUE(MatricesNear(ReadMatrix(GL_MODELVIEW_MATRIX), Translation(1, 2, 3)));
    EXPECT_TRUE(MatricesNear(ReadMatrix(GL_PROJECTION_MATRIX), Ortho(0, kW, kH, 0, -1, 1.1)));
    EXPECT_EQ(BoundTexture(), GLint(renderTexture->glName));
    std::array<float, 4> colour{};
    glGetFloatv(GL_CURRENT_COLOR, colour.data());
    EXPECT_NEAR(colour[3], 0.025f, 1e-6f) << "the last of 20 layers";
    EXPECT_EQ(colour[0], 1.0f);
  }
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  glLoadIdentity();
}

// Pixel (x, row) after the blur, worked out layer by layer: layer i samples the linear pattern at
// the point its inset maps the pixel to and is blended over what the layers before it left.
std::array<double, 3> BlurredPixel(int x, int row, std::array<double, 3> background) {
  const float step = 0.5f / 20;
  float a = 0.5f;
  std::array<double, 3> colour = background;
  for (int i = 1; i <= 20; ++i) {
    const double inset = static_cast<float>(0.2L * i / 100);
    const double s = inset + (x + 0.5) / kW * (double(kW) / kRenderSize - 2 * inset);
    const double t = inset + (row + 0.5) / kH * (double(kH) / kRenderSize - 2 * inset);
    const std::array<double, 3> layer = {PatternRed(s * kRenderSize - 0.5), PatternGreen(t * kRenderSize - 0.5),
                                         double(kPatternBlue)};
    for (int c = 0; c < 3; ++c) colour[c] = std::round(a * layer[c] + (1 - a) * colour[c]);
    a -= step;
  }
  return colour;
}

TEST_F(PipelineGl, ZoomBlurBlendsTwentyInsetLayersOverThePicture) {
  DrawPattern();
  CaptureFrame();
  // A plain background under the layers, so each layer's weight shows in the result.
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  ZoomBlur(20, 0.2f, 0.5f);
  const Pixels blurred = ReadWindow();
  struct Probe {
    int x, row;
  };
  // The centre, and pixels near the edges where the insets move the samples the most.
  for (Probe probe : {Probe{kW / 2, kH / 2}, Probe{0, kH / 2}, Probe{kW / 2, kH - 1}, Probe{kW - 1, 0},
                      Probe{5, 90}}) {
    const std::array<double, 3> expected = BlurredPixel(probe.x, probe.row, {0, 0, 0});
    const auto& actual = At(blurred, probe.x, probe.row);
    for (int c = 0; c < 3; ++c) {
      EXPECT_NEAR(actual[c], expected[c], 3.0) << "pixel " << probe.x << ", " << probe.row << " channel " << c;
    }
  }
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
}

}  // namespace
