// The toolbox drawing on the offscreen driver: the state each helper leaves for the drawing after
// it and where things land. The sprite and the wave sheet: Scene01's read-backs.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <tuple>

#include "scenes/internal/beat_overlay.h"
#include "scenes/internal/cube_grid.h"
#include "scenes/internal/screen_pictures.h"
#include "sequencing/sequencing.h"
#include "tests/support/gl_state.h"

namespace {

using Pixel = std::array<int, 4>;

Pixel ReadPixel(int x, int yFromBottom) {
  std::array<std::uint8_t, 4> rgba{};
  glReadPixels(x, yFromBottom, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  return {rgba[0], rgba[1], rgba[2], rgba[3]};
}

constexpr Pixel kWhite{255, 255, 255, 255}, kBlack{0, 0, 0, 255}, kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255};

// Each (x, y from the bottom, colour, what is there) as read back.
void ExpectPixels(std::initializer_list<std::tuple<int, int, Pixel, const char*>> spots) {
  for (const auto& [x, y, colour, what] : spots) EXPECT_EQ(ReadPixel(x, y), colour) << x << ", " << y << ": " << what;
}

std::array<float, 4> CurrentColour() {
  std::array<float, 4> colour{};
  glGetFloatv(GL_CURRENT_COLOR, colour.data());
  return colour;
}

class ToolboxOnScreen : public HeadlessGlSuite<640, 480> {
 protected:
  void SetUp() override {
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

  // The opposite of what the helpers leave, so every flag they set is seen to change.
  static void SetContraryState() {
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_ONE, GL_ZERO);
    glColor4f(1, 0, 0, 0.25f);
  }
  // Blending and texturing off with the additive blend function, the model-view matrix current.
  static void ExpectAdditiveBlendingOff() {
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(std::pair(Integer(GL_BLEND_SRC), Integer(GL_BLEND_DST)), std::pair(GL_SRC_ALPHA, GL_ONE));
    EXPECT_EQ(Integer(GL_MATRIX_MODE), GL_MODELVIEW);
  }
};

// Without pictures (texture 0 is incomplete, so quads take their plain colours) the layers show as
// shapes: the silhouette blackens the whole screen, the sign strip adds white at the bottom, the text
// bar is a black band with the white text line inside it. The layer leaves depth testing on and the
// colour white.
TEST_F(ToolboxOnScreen, BeatOverlayLayersLandWhereTheBeatPutsThemAndLeaveTheStateTheSceneExpects) {
  SetContraryState();
  musicTime = 1725;  // the start of beat 1: no drift yet
  DrawBeatOverlayWith(BeatOverlayTextures{});
  ExpectAdditiveBlendingOff();
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_EQ(CurrentColour(), (std::array<float, 4>{1, 1, 1, 1}));
  ExpectPixels({{320, 300, kBlack, "silhouette"}, {5, 470, kBlack, "silhouette"}, {320, 10, kWhite, "sign strip"},
                {320, 60, kBlack, "between strip and bar"}, {320, 77, kWhite, "text line"},
                {320, 90, kBlack, "text bar above the line"}});
  // Seven eighths into the beat the bar has sunk by 7/64 unit (about 16 pixels at distance 4), the
  // strip risen as much.
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  musicTime = 1725 + 1925 * 7 / 8;
  DrawBeatOverlayWith(BeatOverlayTextures{});
  ExpectPixels({{320, 61, kWhite, "text line, lower"}, {320, 85, kBlack, "the line's old place"},
                {320, 44, kWhite, "sign strip, higher (the sunk bar covers its top)"}});
}

TEST_F(ToolboxOnScreen, ScreenPicturesRestoreTheProjectionAndLeaveAdditiveBlendingOff) {
  const Matrix projection = ReadMatrix(GL_PROJECTION_MATRIX);
  const std::function<void()> pictures[] = {[] { DrawSprite(0, 640, 40, 300, -99, 0, 0, 0, 0.5, 4); },
                                            [] { DrawScreenOverlay(0, 3, 1.0); }};
  for (const auto& draw : pictures) {
    SetContraryState();
    draw();
    EXPECT_EQ(ReadMatrix(GL_PROJECTION_MATRIX), projection);
    ExpectAdditiveBlendingOff();
  }
}

// Straight onto the grid's area, y up, deep enough for the cubes: each cube takes its cell's colour at
// its grid point, its size following the column count, unless one colour is given for all.
TEST_F(ToolboxOnScreen, CubeGridDrawsEachCellWhereItBelongs) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, 640, 0, 480, -1000, 1000);
  glMatrixMode(GL_MODELVIEW);
  glDisable(GL_DEPTH_TEST);
  glClearColor(0, 0, 0, 1);
  const auto draw = [](std::int32_t columns, std::int32_t x, std::int32_t y, bool uniform) {
    glClear(GL_COLOR_BUFFER_BIT);
    ClearCubeGrid(1, 0, 0, 1);
    SetCubeColour(x, y, 0, 1, 0, 1);
    glColor4f(0, 0, 1, 1);  // replaced by the uniform colour
    DrawCubeGrid(columns, columns * 3 / 4, 0, uniform, 0, 0, 0, 1, 0);
  };
  draw(32, 16, 12, false);  // cubes of edge 20
  ExpectPixels({{320, 240, kGreen, "the cell"}, {327, 247, kGreen, "the cell"}, {300, 240, kRed, "the left one"},
                {320, 260, kRed, "the one above"}, {2, 2, kRed, "cell 0, 0"}});
  draw(16, 8, 6, false);  // cubes of edge 40 on a 40 x 40 raster
  ExpectPixels({{337, 257, kGreen, "the cell"}, {303, 223, kGreen, "the cell"}, {345, 240, kRed, "the right one"}});
  draw(32, 16, 12, true);
  ExpectPixels({{320, 240, kBlack, "the uniform colour"}});
  EXPECT_EQ(CurrentColour(), (std::array<float, 4>{0, 0, 0, 1}));
}

}  // namespace
