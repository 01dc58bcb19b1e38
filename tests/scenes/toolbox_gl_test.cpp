// The toolbox drawing on the offscreen driver: the state each helper leaves for the drawing after
// it, the beat overlay's layout on screen, and the cube grid's cells where they belong.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "platform/window.h"
#include "scenes/internal/beat_overlay.h"
#include "scenes/internal/cube_grid.h"
#include "scenes/internal/demo_random.h"
#include "scenes/internal/screen_pictures.h"
#include "scenes/internal/wave_sheet.h"
#include "sequencing/sequencing.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

using Pixel = std::array<int, 4>;

Pixel ReadPixel(int x, int yFromBottom) {
  std::array<std::uint8_t, 4> rgba{};
  glReadPixels(x, yFromBottom, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  return {rgba[0], rgba[1], rgba[2], rgba[3]};
}

std::array<float, 4> CurrentColour() {
  std::array<float, 4> colour{};
  glGetFloatv(GL_CURRENT_COLOR, colour.data());
  return colour;
}

std::array<GLint, 2> BlendFunction() {
  GLint source = 0, destination = 0;
  glGetIntegerv(GL_BLEND_SRC, &source);
  glGetIntegerv(GL_BLEND_DST, &destination);
  return {source, destination};
}

std::array<double, 16> Matrix(GLenum which) {
  std::array<double, 16> m{};
  glGetDoublev(which, m.data());
  return m;
}

class ToolboxOnScreen : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(zenCreateWindow("Glimmer", kWidth, kHeight, 32, false)); }
  static void TearDownTestSuite() { WindowClose(); }

  void SetUp() override {
    savedRandom_ = DemoRandomState();
    beatOverlay = {};
    // The frame as start-up and the pipeline leave it: perspective 45 degrees, identity view.
    glViewport(0, 0, kWidth, kHeight);
    glDepthFunc(GL_LEQUAL);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 4.0 / 3.0, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(1.0f, 0.75f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }
  void TearDown() override {
    beatOverlay = {};
    SetDemoRandomState(savedRandom_);
    musicTime = 0;
  }

  // The opposite of what the helpers leave, so every flag they set is seen to change.
  static void SetContraryState() {
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_ONE, GL_ZERO);
    glColor4f(1, 0, 0, 0.25f);
  }

  std::uint32_t savedRandom_ = 0;
};

// ---- beat overlay ----

TEST_F(ToolboxOnScreen, BeatOverlayLeavesBlendOffDepthOnTextureOffAdditiveWhite) {
  SetContraryState();
  musicTime = 5000;
  DrawBeatOverlayWith(BeatOverlayTextures{});
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_EQ(BlendFunction(), (std::array<GLint, 2>{GL_SRC_ALPHA, GL_ONE}));
  EXPECT_EQ(CurrentColour(), (std::array<float, 4>{1, 1, 1, 1}));
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
  EXPECT_EQ(beatOverlay.lastBeat, 2) << "the overlay counts the beat it draws";
}

// Without pictures (texture 0 is incomplete, so quads take their plain colours) the layers show as
// shapes: the silhouette blackens the whole screen, the sign strip adds white at the bottom, the text
// bar is a black band with the white text line inside it.
TEST_F(ToolboxOnScreen, BeatOverlayLayersLandWhereTheBeatPutsThem) {
  musicTime = 1725;  // the start of beat 1: no drift yet
  DrawBeatOverlayWith(BeatOverlayTextures{});
  EXPECT_EQ(ReadPixel(320, 300), (Pixel{0, 0, 0, 255})) << "silhouette";
  EXPECT_EQ(ReadPixel(5, 470), (Pixel{0, 0, 0, 255})) << "silhouette";
  EXPECT_EQ(ReadPixel(320, 10), (Pixel{255, 255, 255, 255})) << "sign strip";
  EXPECT_EQ(ReadPixel(320, 60), (Pixel{0, 0, 0, 255})) << "between strip and bar";
  EXPECT_EQ(ReadPixel(320, 77), (Pixel{255, 255, 255, 255})) << "text line";
  EXPECT_EQ(ReadPixel(320, 90), (Pixel{0, 0, 0, 255})) << "text bar above the line";
}

TEST_F(ToolboxOnScreen, TextBarSinksDuringTheBeatAndTheStripRises) {
  // Seven eighths into beat 1: the bar has sunk by 7/64 unit, the strip risen as much.
  musicTime = 1725 + 1925 * 7 / 8;
  DrawBeatOverlayWith(BeatOverlayTextures{});
  // 7/64 unit at distance 4 is about 16 pixels.
  EXPECT_EQ(ReadPixel(320, 61), (Pixel{255, 255, 255, 255})) << "text line, lower";
  EXPECT_EQ(ReadPixel(320, 85), (Pixel{0, 0, 0, 255})) << "the line's old place";
  EXPECT_EQ(ReadPixel(320, 44), (Pixel{255, 255, 255, 255})) << "sign strip, higher (the sunk bar covers its top)";
}

// ---- screen pictures and the wave sheet ----

TEST_F(ToolboxOnScreen, ScreenPicturesRestoreTheProjectionAndLeaveAdditiveBlendingOff) {
  const auto projection = Matrix(GL_PROJECTION_MATRIX);
  SetContraryState();
  DrawSprite(0, 640, 40, 300, -99, 0, 0, 0, 0.5, 4);
  EXPECT_EQ(Matrix(GL_PROJECTION_MATRIX), projection);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_EQ(BlendFunction(), (std::array<GLint, 2>{GL_SRC_ALPHA, GL_ONE}));

  SetContraryState();
  DrawScreenOverlay(0, 3, 1.0);
  EXPECT_EQ(Matrix(GL_PROJECTION_MATRIX), projection);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_EQ(BlendFunction(), (std::array<GLint, 2>{GL_SRC_ALPHA, GL_ONE}));
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(ToolboxOnScreen, SpriteDrawsAHalfTransparentBlackSquareAroundItsCentre) {
  DrawSprite(0, 100, 320, 240, 0, 0, 0, 0, 0.5, 0);
  const Pixel inside = ReadPixel(320, 240);
  EXPECT_NEAR(inside[0], 128, 1);
  EXPECT_NEAR(inside[1], 96, 1);
  EXPECT_EQ(ReadPixel(320, 240 + 60), (Pixel{255, 191, 0, 255})) << "outside the 100-pixel square";
}

TEST_F(ToolboxOnScreen, WaveSheetColourFadesInOverFourSeconds) {
  DrawWaveSheet(0, 0);
  EXPECT_EQ(CurrentColour(), (std::array<float, 4>{1, 1, 1, 0}));
  DrawWaveSheet(2000, 75);
  EXPECT_EQ(CurrentColour(), (std::array<float, 4>{1, 1, 1, 0.5f}));
  DrawWaveSheet(4000, 0);
  EXPECT_EQ(CurrentColour(), (std::array<float, 4>{1, 1, 1, 1}));
}

// ---- cube grid ----

class CubeGridOnScreen : public ToolboxOnScreen {
 protected:
  void SetUp() override {
    ToolboxOnScreen::SetUp();
    // Straight onto the grid's area, y up, deep enough for the cubes.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 640, 0, 480, -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    ClearCubeGrid(1, 0, 0, 1);
  }
};

TEST_F(CubeGridOnScreen, EachCubeTakesItsCellsColourAtItsGridPoint) {
  SetCubeColour(16, 12, 0, 1, 0, 1);
  DrawCubeGrid(32, 24, 0, false, 0, 0, 0, 1, 0);
  EXPECT_EQ(ReadPixel(320, 240), (Pixel{0, 255, 0, 255}));
  EXPECT_EQ(ReadPixel(327, 247), (Pixel{0, 255, 0, 255})) << "cube of edge 20";
  EXPECT_EQ(ReadPixel(300, 240), (Pixel{255, 0, 0, 255}));
  EXPECT_EQ(ReadPixel(320, 260), (Pixel{255, 0, 0, 255}));
  EXPECT_EQ(ReadPixel(2, 2), (Pixel{255, 0, 0, 255})) << "cell (0, 0) at the corner";
}

TEST_F(CubeGridOnScreen, CubeSizeFollowsTheColumnCount) {
  // 16 columns: cubes of edge 40 on a 40 x 40 raster; cell (8, 6) stands at (320, 240).
  SetCubeColour(8, 6, 0, 1, 0, 1);
  DrawCubeGrid(16, 12, 0, false, 0, 0, 0, 1, 0);
  EXPECT_EQ(ReadPixel(337, 257), (Pixel{0, 255, 0, 255}));
  EXPECT_EQ(ReadPixel(303, 223), (Pixel{0, 255, 0, 255}));
  EXPECT_EQ(ReadPixel(345, 240), (Pixel{255, 0, 0, 255}));
}

TEST_F(CubeGridOnScreen, UniformColourOverridesTheCells) {
  SetCubeColour(16, 12, 0, 1, 0, 1);
  glColor4f(0, 0, 1, 1);  // replaced by the uniform colour
  DrawCubeGrid(32, 24, 0, true, 0, 0, 0, 1, 0);
  EXPECT_EQ(ReadPixel(320, 240), (Pixel{0, 0, 0, 255}));
  EXPECT_EQ(CurrentColour(), (std::array<float, 4>{0, 0, 0, 1}));
}

}  // namespace
