// Each scene drawn frame-exactly through the real start-up and read back. The demo's pictures are
// first replaced by plain colours, so what is checked is where each scene puts things, not what the
// pictures look like: the flower and the red background become opaque white and opaque red, the
// first text picture half-transparent green, the silhouettes fully transparent, the sign strip black
// (it adds nothing), the text line black and the credits white.
//
// Every test places the scene it draws on the timeline itself, starting at its first frame so that
// the scene's set-up runs, whatever the demo's script says.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <numbers>
#include <utility>
#include <vector>

#include "effects/effects.h"
#include "images/texture.h"
#include "scenes/internal/demo_random.h"
#include "sequencing/sequencing.h"
#include "tests/support/scene_harness.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

struct Rgb {
  int r, g, b;
};

Rgb PixelAt(const HarnessPicture& picture, int x, int yFromBottom) {
  const std::uint8_t* p = picture.rgba.data() + (std::size_t(yFromBottom) * picture.width + x) * 4;
  return {p[0], p[1], p[2]};
}

// Calls visit(x, yFromBottom, colour) for every pixel.
void ForEachPixel(const HarnessPicture& picture, const std::function<void(int, int, Rgb)>& visit) {
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) visit(x, y, PixelAt(picture, x, y));
  }
}

int CountPixels(const HarnessPicture& picture, const std::function<bool(Rgb)>& test) {
  int count = 0;
  ForEachPixel(picture, [&](int, int, Rgb c) { count += test(c) ? 1 : 0; });
  return count;
}

int CountDifferent(const HarnessPicture& a, const HarnessPicture& b) {
  int count = 0;
  for (std::size_t k = 0; k < a.rgba.size(); k += 4) {
    for (std::size_t c = 0; c < 3; ++c) {
      if (std::abs(int(a.rgba[k + c]) - int(b.rgba[k + c])) > 8) {
        ++count;
        break;
      }
    }
  }
  return count;
}

double MeanGreen(const HarnessPicture& picture) {
  double sum = 0;
  ForEachPixel(picture, [&](int, int, Rgb c) { sum += c.g; });
  return sum / (picture.width * picture.height);
}

// Orange or something mixed from it, as opposed to the scenes' reds, black and the clear colour
// hidden behind a wall.
bool Orangish(Rgb c) { return c.g >= 24 && c.b < 40; }
bool Orange(Rgb c) { return c.r > 200 && c.g > 150 && c.b < 40; }

// Where the camera's view (perspective 45 degrees, 4/3, as the camera applies it) puts a point.
struct ScreenPoint {
  double x, yFromBottom;
};
using Vec3 = std::array<double, 3>;

Vec3 Minus(Vec3 a, Vec3 b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double Dot(Vec3 a, Vec3 b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec3 Cross(Vec3 a, Vec3 b) { return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]}; }
Vec3 Unit(Vec3 a) {
  const double n = std::sqrt(Dot(a, a));
  return {a[0] / n, a[1] / n, a[2] / n};
}

ScreenPoint Project(Vec3 eye, Vec3 center, Vec3 up, Vec3 point) {
  const Vec3 forward = Unit(Minus(center, eye));
  const Vec3 side = Unit(Cross(forward, up));
  const Vec3 trueUp = Cross(side, forward);
  const Vec3 d = Minus(point, eye);
  const double depth = Dot(d, forward);
  const double f = 1 / std::tan(22.5 * std::numbers::pi / 180);
  return {(f / (4.0 / 3.0) * Dot(d, side) / depth + 1) / 2 * kWidth, (f * Dot(d, trueUp) / depth + 1) / 2 * kHeight};
}

void Paint(const char* file, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
  zenTexture* texture = DemoTexture(file);
  ASSERT_NE(texture, nullptr) << file;
  for (std::size_t k = 0; k + 3 < texture->pixels.size(); k += 4) {
    texture->pixels[k] = b;
    texture->pixels[k + 1] = g;
    texture->pixels[k + 2] = r;
    texture->pixels[k + 3] = a;
  }
  Reupload(*texture);
}

void PaintPlainPictures() {
  Paint("data/flower1.hwl", 255, 255, 255, 255);
  Paint("data/background_reddir.hwl", 255, 0, 0, 255);
  Paint("data/text_vmb1.hwl", 0, 255, 0, 128);
  for (const char* file : {"data/overlay1.hwl", "data/overlay2.hwl", "data/overlay3.hwl", "data/overlay4.hwl",
                           "data/overlay5.hwl", "data/overlay6.hwl"}) {
    Paint(file, 255, 255, 255, 0);
  }
  Paint("data/signoverlay.hwl", 0, 0, 0, 255);
  Paint("data/text_vmb2.hwl", 0, 0, 0, 255);
  Paint("data/credits.hwl", 255, 255, 255, 255);
}

class SceneReadback : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    started_ = std::filesystem::exists(std::filesystem::path(KELVANE_DEMO_DIR) / "script.dlx");
    if (!started_) return;
    HarnessStart(KELVANE_DEMO_DIR, kWidth, kHeight);
    PaintPlainPictures();
  }
  static void TearDownTestSuite() {
    if (started_) HarnessStop();
  }
  void SetUp() override {
    if (!started_) GTEST_SKIP() << "no demo content in " << KELVANE_DEMO_DIR;
  }

  // The scene in `slot` from `start` on, its set-up run in a first frame at `start`.
  static void StartScene(int slot, std::int32_t start) {
    Timeline& timeline = *timelineTable.Get(kDemoTimelineSlot);
    PlaceScene(timeline, *sceneTable.Get(slot), start, std::min(start + 40000, kTimelineCapacity));
    timeline.sceneMarker = 0;
    HarnessFrame(start);
  }

  static std::vector<float> SpectrumWith(int entry, float level) {
    std::vector<float> values(512, 0.0f);
    values[static_cast<std::size_t>(entry)] = level;
    return values;
  }

  static bool started_;
};

bool SceneReadback::started_ = false;

constexpr int kScene01 = 1, kScene02 = 2, kScene05 = 3, kScene06 = 4, kScene08 = 5, kScene09 = 6, kScene10 = 7,
              kScene11 = 8;

// ---- Scene01 ----

TEST_F(SceneReadback, Scene01SilhouetteAppearsAfter900) {
  StartScene(kScene01, 800);
  const HarnessPicture at900 = HarnessFrame(900);
  EXPECT_EQ(CountPixels(at900, [](Rgb c) { return c.r != 255 || c.g != 191 || c.b != 0; }), 0)
      << "nothing but the clear colour before 901";

  const HarnessPicture at901 = HarnessFrame(901);
  // The sprite, 640 wide around (40, 300) from the top left, half-black over the orange.
  const Rgb inside = PixelAt(at901, 100, kHeight - 1 - 240);
  EXPECT_NEAR(inside.r, 128, 2);
  EXPECT_NEAR(inside.g, 96, 2);
  const Rgb outside = PixelAt(at901, 600, kHeight - 1 - 240);
  EXPECT_EQ(outside.r, 255);
  EXPECT_EQ(outside.g, 191);
  EXPECT_EQ(CountPixels(at901, [](Rgb c) { return c.r < 120; }), 0) << "never darker than half";
}

struct WhiteArea {
  int pixels = 0;
  double centreX = 0, centreY = 0;
};

// The flower field's white tiles: where they are and how much of the screen they cover.
WhiteArea FieldArea(const HarnessPicture& picture) {
  WhiteArea area;
  ForEachPixel(picture, [&](int x, int y, Rgb c) {
    if (c.g < 200 || c.b < 200) return;
    ++area.pixels;
    area.centreX += x;
    area.centreY += y;
  });
  if (area.pixels > 0) area.centreX /= area.pixels, area.centreY /= area.pixels;
  return area;
}

double Distance(const WhiteArea& a, const WhiteArea& b) {
  return std::hypot(a.centreX - b.centreX, a.centreY - b.centreY);
}

TEST_F(SceneReadback, Scene01FieldTiltsAtOnceAfter8617) {
  Paint("data/text_vmb1.hwl", 0, 255, 0, 0);  // the text sheets out of the way
  StartScene(kScene01, 8500);
  const WhiteArea at8616 = FieldArea(HarnessFrame(8616));
  const WhiteArea at8617 = FieldArea(HarnessFrame(8617));
  const WhiteArea at8618 = FieldArea(HarnessFrame(8618));
  Paint("data/text_vmb1.hwl", 0, 255, 0, 128);
  ASSERT_GT(at8617.pixels, 10000) << "the field is in view";
  EXPECT_LT(Distance(at8616, at8617), 0.5) << "one millisecond of ripple moves the field little";
  EXPECT_GT(Distance(at8617, at8618), 3.0) << "the tilt of 4 degrees and the shift of 0.4 move it at once";
}

// The text sheets lie over a field, a plane and a clear colour that all have full red; each sheet
// lets half of what is below through. So the mean loss of red grows with the number of sheets.
double TextDarkness(const HarnessPicture& picture) {
  double loss = 0;
  ForEachPixel(picture, [&](int, int, Rgb c) { loss += 255 - c.r; });
  return loss / (255.0 * picture.width * picture.height);
}

TEST_F(SceneReadback, Scene01TextSheetsComeAndGoWithTheirWindows) {
  StartScene(kScene01, 3700);
  const double none = TextDarkness(HarnessFrame(3784));
  const double first = TextDarkness(HarnessFrame(3785));
  StartScene(kScene01, 9900);
  const double two = TextDarkness(HarnessFrame(9999));
  const double secondAlone = TextDarkness(HarnessFrame(10000));
  StartScene(kScene01, 16400);
  const double thirdAlone = TextDarkness(HarnessFrame(16500));
  const double thirdAndFourth = TextDarkness(HarnessFrame(16501));
  const double at17000 = TextDarkness(HarnessFrame(17000));  // windows 3 and 4
  StartScene(kScene01, 23400);
  const double lastOne = TextDarkness(HarnessFrame(23499));
  const double gone = TextDarkness(HarnessFrame(23500));
  EXPECT_EQ(none, 0.0);
  EXPECT_EQ(gone, 0.0);
  EXPECT_GT(first, 0.05);
  EXPECT_GT(lastOne, 0.05);
  EXPECT_GT(two, secondAlone * 1.2);
  EXPECT_GT(thirdAndFourth, thirdAlone * 1.2);
  EXPECT_NEAR(at17000, thirdAndFourth, 0.2 * thirdAndFourth);
}

// ---- Scene02 ----

TEST_F(SceneReadback, Scene02ShowsDarkRedTilesWithGapsBetween) {
  StartScene(kScene02, 6700);
  const HarnessPicture picture = HarnessFrame(6770);
  const int total = kWidth * kHeight;
  const int tiles = CountPixels(picture, [](Rgb c) { return c.r > 40 && c.g < 40 && c.b < 40; });
  const int gaps = CountPixels(picture, [](Rgb c) { return c.g > 120; });
  EXPECT_GT(tiles, total / 50);
  EXPECT_GT(gaps, total / 50);
}

// ---- cube walls ----

// At 1885 ms (t / 600 close to pi) Scene05's eye stands right in front of the wall's centre.
TEST_F(SceneReadback, Scene05WaveCellsStayInRowsSevenToEighteen) {
  constexpr std::int32_t t = 1885;
  StartScene(kScene05, 1800);
  const HarnessPicture picture = HarnessFrame(t);
  const double s = std::sin(t / 600.0);
  const Vec3 eye{320 + 250 * s, 240 + 140 * s, 700 * std::sin(t / 1400.0) - 500};
  const Vec3 center{320, 240, -399}, up{0, 1, 0};
  // Rows 7 to 18 of the grid, cubes of half-size 10, the sheared faces 20 nearer.
  const double low = Project(eye, center, up, {320, 130, -369}).yFromBottom;
  const double high = Project(eye, center, up, {320, 370, -369}).yFromBottom;
  // The zoom blur's last layer magnifies the picture about its centre by 0.625 / (0.625 - 0.08).
  const double magnify = 0.625 / 0.545;
  const double lowest = 240 - (240 - low) * magnify - 3;
  const double highest = 240 + (high - 240) * magnify + 3;
  int outside = 0;
  ForEachPixel(picture, [&](int, int y, Rgb c) {
    if (Orangish(c) && (y < lowest || y > highest)) ++outside;
  });
  EXPECT_EQ(outside, 0) << "orange outside screen rows " << lowest << " to " << highest;

  // The wave crosses the whole wall: every column shows orange somewhere.
  for (int k = 1; k <= 31; ++k) {
    const int x = static_cast<int>(Project(eye, center, up, {20.0 * k, 240, -389}).x);
    bool found = false;
    for (int y = 0; y < kHeight && !found; ++y) found = Orange(PixelAt(picture, x, y));
    EXPECT_TRUE(found) << "column " << k;
  }
}

TEST_F(SceneReadback, Scene06RingCollapsesToTheCentreCellAtTimeZero) {
  StartScene(kScene06, 0);
  const HarnessPicture picture = HarnessFrame(0);
  // The eye at (320, 240, 200) looks straight at cell (16, 12).
  EXPECT_TRUE(Orange(PixelAt(picture, 320, 240)));
  int far = 0;
  ForEachPixel(picture, [&](int x, int y, Rgb c) {
    if (Orangish(c) && (std::abs(x - 320) > 45 || std::abs(y - 240) > 45)) ++far;
  });
  EXPECT_EQ(far, 0) << "only the centre cube is orange";
  EXPECT_GT(CountPixels(picture, [](Rgb c) { return c.r > 200 && c.g < 40; }), kWidth * kHeight / 2)
      << "the rest of the wall is red";
}

TEST_F(SceneReadback, Scene06RingOnlyClustersAroundTheCentreAt1800) {
  constexpr std::int32_t t = 1800;
  StartScene(kScene06, 1750);
  const HarnessPicture picture = HarnessFrame(t);
  const double s = std::sin(t / 600.0);
  const Vec3 eye{320 + 250 * s, 240 + 140 * s, 200 + 200 * std::sin(t / 1400.0)};
  const Vec3 center{320, 240, -399}, up{0, 1, 0};
  // Cells 15 and 16 by 11 and 12, cubes of half-size 10 reaching 30 forward when sheared.
  double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
  for (double x : {290.0, 330.0}) {
    for (double y : {210.0, 250.0}) {
      for (double z : {-10.0, 30.0}) {
        const ScreenPoint p = Project(eye, center, up, {x, y, z});
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.yFromBottom), maxY = std::max(maxY, p.yFromBottom);
      }
    }
  }
  int orange = 0, outside = 0;
  ForEachPixel(picture, [&](int x, int y, Rgb c) {
    if (!Orangish(c)) return;
    ++orange;
    if (x < minX - 3 || x > maxX + 3 || y < minY - 3 || y > maxY + 3) ++outside;
  });
  EXPECT_GT(orange, 100);
  EXPECT_EQ(outside, 0);
}

TEST_F(SceneReadback, Scene10RingCollapsesBehindTheWireframeAtTimeZero) {
  StartScene(kScene10, 0);
  const HarnessPicture picture = HarnessFrame(0);
  EXPECT_TRUE(Orange(PixelAt(picture, 320, 240)));
  int far = 0;
  ForEachPixel(picture, [&](int x, int y, Rgb c) {
    if (Orangish(c) && (std::abs(x - 320) > 30 || std::abs(y - 240) > 30)) ++far;
  });
  EXPECT_EQ(far, 0) << "one cube of the far wall, about 20 pixels wide, zoom-blurred";
  EXPECT_GT(CountPixels(picture, [](Rgb c) { return c.r < 16 && c.g < 16 && c.b < 16; }), 1000)
      << "the wireframe in front";
}

// ---- music-driven tiles ----

TEST_F(SceneReadback, Scene08TilesSwellWithSpectrumEntry170) {
  constexpr std::int32_t t = 25558;  // the eye at its farthest, 17 units out
  StartScene(kScene08, t - 50);
  const HarnessPicture silent = HarnessFrame(t);
  const auto loud170 = SpectrumWith(170, 0.1f);
  const auto loud171 = SpectrumWith(171, 0.1f);
  const HarnessPicture loud = HarnessFrame(t, loud170.data());
  const HarnessPicture otherBand = HarnessFrame(t, loud171.data());
  EXPECT_LT(MeanGreen(loud), MeanGreen(silent) - 10) << "bigger dark red tiles hide more of the orange";
  EXPECT_EQ(CountDifferent(otherBand, silent), 0) << "only entry 170 counts";
}

TEST_F(SceneReadback, Scene09TilesSwellWithSpectrumEntry110) {
  constexpr std::int32_t t = 6770;  // the eye at its farthest, 37 units out
  StartScene(kScene09, t - 50);
  const HarnessPicture silent = HarnessFrame(t);
  const auto loud110 = SpectrumWith(110, 0.1f);
  const auto loud170 = SpectrumWith(170, 0.1f);
  const HarnessPicture loud = HarnessFrame(t, loud110.data());
  const HarnessPicture otherBand = HarnessFrame(t, loud170.data());
  EXPECT_LT(MeanGreen(loud), MeanGreen(silent) - 10);
  EXPECT_EQ(CountDifferent(otherBand, silent), 0) << "only entry 110 counts";
}

TEST_F(SceneReadback, Scene08ScatterDrawsThreeValuesPerParticleInTenths) {
  const std::uint32_t state = DemoRandomState();
  StartScene(kScene08, 30000);
  SetDemoRandomState(state);
  for (int k = 1; k <= 200; ++k) {
    const Particle& p = sharedParticles1->particles[static_cast<std::size_t>(k)];
    EXPECT_FLOAT_EQ(p.x, static_cast<float>(DemoRandom(200) / 10.0L)) << "particle " << k;
    EXPECT_FLOAT_EQ(p.y, static_cast<float>(DemoRandom(200) / 10.0L)) << "particle " << k;
    EXPECT_FLOAT_EQ(p.z, static_cast<float>((DemoRandom(200) - 100) / 10.0L)) << "particle " << k;
    ASSERT_GE(p.z, -10.0f);
    ASSERT_LE(p.z, 9.9f);
  }
  EXPECT_EQ(sharedParticles1->particles[0].x, 0.0f) << "record 0 stays unused";
}

// ---- Scene11 ----

TEST_F(SceneReadback, Scene11CreditsFillTheMiddleAtFirstAndAreGoneAfter28Seconds) {
  constexpr std::int32_t c0 = 84531;
  StartScene(kScene11, c0);
  const HarnessPicture first = HarnessFrame(c0);
  // 2 x 2 units at distance 4: about 290 pixels across, turned by -7 degrees.
  const std::vector<std::pair<int, int>> insideSquare = {{320, 240}, {220, 140}, {420, 340}, {220, 340}, {420, 140}};
  for (const auto& [x, y] : insideSquare) {
    EXPECT_GT(PixelAt(first, x, y).b, 240) << x << ", " << y;
  }
  EXPECT_LT(PixelAt(first, 320, 440).b, 40) << "above the square";

  const HarnessPicture later = HarnessFrame(c0 + 30000);
  EXPECT_EQ(CountPixels(later, [](Rgb c) { return c.b > 40; }), 0) << "the square and its ghosts are behind the eye";
}

}  // namespace
