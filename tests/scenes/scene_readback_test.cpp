// Each scene drawn frame-exactly through the real start-up and read back. The demo's pictures are
// first replaced by plain colours, so what is checked is where each scene puts things, not what the
// pictures look like: the flower and the red background become opaque white and opaque red, the
// first text picture half-transparent green, the silhouettes fully transparent, the sign strip black
// (it adds nothing), the text line black and the credits white. Every test places its scene on the
// timeline itself from its first frame, so that the scene's set-up runs, whatever the script says.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "effects/effects.h"
#include "images/texture.h"
#include "scenes/internal/demo_random.h"
#include "sequencing/sequencing.h"
#include "tests/support/scene_harness.h"

namespace {

struct Rgb { int r, g, b; };

Rgb PixelAt(const HarnessPicture& picture, int x, int yFromBottom) {
  const std::uint8_t* p = picture.rgba.data() + (std::size_t(yFromBottom) * picture.width + x) * 4;
  return {p[0], p[1], p[2]};
}

// How many pixels pass `test`, given each one's place (y from the bottom) and colour.
int CountPixels(const HarnessPicture& picture, const std::function<bool(int x, int y, Rgb)>& test) {
  int count = 0;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) count += test(x, y, PixelAt(picture, x, y));
  return count;
}

// Orange or something mixed from it, as opposed to the scenes' reds, black and the clear colour
// hidden behind a wall.
bool Orangish(Rgb c) { return c.g >= 24 && c.b < 40; }
bool Orange(Rgb c) { return c.r > 200 && c.g > 150 && c.b < 40; }

void Paint(const char* file, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
  zenTexture* texture = DemoTexture(file);
  ASSERT_NE(texture, nullptr) << file;
  const std::uint8_t bgra[4] = {b, g, r, a};
  for (std::size_t k = 0; k + 3 < texture->pixels.size(); k += 4) std::memcpy(&texture->pixels[k], bgra, 4);
  Reupload(*texture);
}

class SceneReadback : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    started_ = std::filesystem::exists(std::filesystem::path(KELVANE_DEMO_DIR) / "script.dlx");
    if (!started_) return;
    HarnessStart(KELVANE_DEMO_DIR, 640, 480);
    Paint("data/flower1.hwl", 255, 255, 255, 255);
    Paint("data/background_reddir.hwl", 255, 0, 0, 255);
    Paint("data/text_vmb1.hwl", 0, 255, 0, 128);
    for (int k = 1; k <= 6; ++k) Paint(("data/overlay" + std::to_string(k) + ".hwl").c_str(), 255, 255, 255, 0);
    Paint("data/signoverlay.hwl", 0, 0, 0, 255);
    Paint("data/text_vmb2.hwl", 0, 0, 0, 255);
    Paint("data/credits.hwl", 255, 255, 255, 255);
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

  static inline bool started_ = false;
};

constexpr int kScene01 = 1, kScene02 = 2, kScene05 = 3, kScene06 = 4, kScene08 = 5, kScene09 = 6, kScene10 = 7,
              kScene11 = 8;

// The sprite, 640 wide around (40, 300) from the top left, half-black over the orange after 900 ms.
// The text sheets lie over the field, the plane and the clear colour, which all have full red: each
// sheet lets half of it through, and none is drawn before 3785.
TEST_F(SceneReadback, Scene01SilhouetteAppearsAfter900TheTextAfter3784AndTheFieldTiltsAtOnceAfter8617) {
  StartScene(kScene01, 800);
  EXPECT_EQ(CountPixels(HarnessFrame(900), [](int, int, Rgb c) { return c.r != 255 || c.g != 191 || c.b != 0; }), 0)
      << "nothing but the clear colour before 901";
  const HarnessPicture at901 = HarnessFrame(901);
  EXPECT_TRUE(std::abs(PixelAt(at901, 100, 239).r - 128) <= 2 && std::abs(PixelAt(at901, 100, 239).g - 96) <= 2);
  EXPECT_EQ(PixelAt(at901, 600, 239).g, 191) << "outside the sprite";
  EXPECT_EQ(CountPixels(at901, [](int, int, Rgb c) { return c.r < 120; }), 0) << "never darker than half";
  const auto darkened = [](int, int, Rgb c) { return c.r < 250; };
  EXPECT_EQ(CountPixels(HarnessFrame(3784), darkened), 0);
  EXPECT_GT(CountPixels(HarnessFrame(3785), darkened), 640 * 480 / 10);

  Paint("data/text_vmb1.hwl", 0, 255, 0, 0);  // the text sheets out of the way
  StartScene(kScene01, 8500);
  const HarnessPicture at8616 = HarnessFrame(8616), at8617 = HarnessFrame(8617), at8618 = HarnessFrame(8618);
  Paint("data/text_vmb1.hwl", 0, 255, 0, 128);
  const auto changed = [](const HarnessPicture& a, const HarnessPicture& b) {
    return CountPixels(a, [&](int x, int y, Rgb c) { return std::abs(c.g - PixelAt(b, x, y).g) > 64; });
  };
  EXPECT_GT(changed(at8617, at8618), 10 * changed(at8616, at8617) + 1000)
      << "the tilt of 4 degrees and the shift of 0.4 move the field at once, one millisecond of ripple little";
}

TEST_F(SceneReadback, Scene02ShowsDarkRedTilesWithGapsBetween) {
  StartScene(kScene02, 6700);
  const HarnessPicture picture = HarnessFrame(6770);
  EXPECT_GT(CountPixels(picture, [](int, int, Rgb c) { return c.r > 40 && c.g < 40 && c.b < 40; }), 640 * 480 / 50);
  EXPECT_GT(CountPixels(picture, [](int, int, Rgb c) { return c.g > 120; }), 640 * 480 / 50) << "gaps";
}

// At 1885 ms the eye stands about 550 units in front of the wall's centre: rows 7 to 18 (y 130 to 370)
// come out between screen rows 104 and 376, the zoom blur's magnification (0.625 / 0.545) included,
// and the wave crosses the whole wall.
TEST_F(SceneReadback, Scene05WaveCellsStayInRowsSevenToEighteen) {
  StartScene(kScene05, 1800);
  const HarnessPicture picture = HarnessFrame(1885);
  EXPECT_EQ(CountPixels(picture, [](int, int y, Rgb c) { return Orangish(c) && (y < 104 || y > 376); }), 0);
  EXPECT_GT(std::min(CountPixels(picture, [](int x, int, Rgb c) { return Orange(c) && x < 40; }),
                     CountPixels(picture, [](int x, int, Rgb c) { return Orange(c) && x > 600; })), 0) << "both edges";
}

// At time 0 the ring lies in its centre cell (16, 12), which the eye looks straight at: in Scene06
// the rest of the wall is red; in Scene10 the cell is one cube of the far wall, about 20 pixels wide
// and zoom-blurred, behind a black wireframe.
TEST_F(SceneReadback, Scene06And10RingCollapsesToTheCentreCellAtTimeZero) {
  const auto red = [](Rgb c) { return c.r > 200 && c.g < 40; };
  const auto black = [](Rgb c) { return c.r < 16 && c.g < 16 && c.b < 16; };
  const std::tuple<int, int, bool (*)(Rgb), int> rows[] = {{kScene06, 45, red, 640 * 480 / 2},
                                                            {kScene10, 30, black, 1000}};
  for (const auto& [slot, reach, other, atLeast] : rows) {
    StartScene(slot, 0);
    const HarnessPicture picture = HarnessFrame(0);
    EXPECT_TRUE(Orange(PixelAt(picture, 320, 240))) << slot;
    EXPECT_EQ(CountPixels(picture, [&](int x, int y, Rgb c) {
                return Orangish(c) && (std::abs(x - 320) > reach || std::abs(y - 240) > reach);
              }), 0) << slot;
    EXPECT_GT(CountPixels(picture, [&](int, int, Rgb c) { return other(c); }), atLeast) << slot;
  }
}

TEST_F(SceneReadback, Scene08And09TilesSwellWithTheirSpectrumEntry) {
  // The eye at its farthest: 17 units out for Scene08, 37 for Scene09.
  for (const auto& [slot, time, entry, other] : {std::array{kScene08, 25558, 170, 171}, {kScene09, 6770, 110, 170}}) {
    StartScene(slot, time - 50);
    std::vector<float> loud(512), otherLoud(512);
    loud[std::size_t(entry)] = otherLoud[std::size_t(other)] = 0.1f;
    const auto orange = [](int, int, Rgb c) { return Orangish(c); };
    const HarnessPicture silent = HarnessFrame(time);
    EXPECT_LT(CountPixels(HarnessFrame(time, loud.data()), orange), CountPixels(silent, orange) - 10000)
        << slot << ": bigger dark red tiles hide more of the orange";
    EXPECT_TRUE(HarnessFrame(time, otherLoud.data()).rgba == silent.rgba) << slot << ": only entry " << entry;
  }
}

TEST_F(SceneReadback, Scene08ScatterDrawsThreeValuesPerParticleInTenths) {
  const std::uint32_t state = DemoRandomState();
  StartScene(kScene08, 30000);
  SetDemoRandomState(state);
  const auto tenth = [](long double value) { return static_cast<float>(value / 10.0L); };
  for (int k = 1; k <= 200; ++k) {
    const Particle& p = sharedParticles1->particles[static_cast<std::size_t>(k)];
    const std::array<float, 3> drawn{tenth(DemoRandom(200)), tenth(DemoRandom(200)), tenth(DemoRandom(200) - 100)};
    EXPECT_EQ((std::array{p.x, p.y, p.z}), drawn) << "particle " << k;
  }
  EXPECT_EQ(sharedParticles1->particles[0].x, 0.0f) << "record 0 stays unused";
}

// The credits: 2 x 2 units at distance 4, about 290 pixels across, turned by -7 degrees.
TEST_F(SceneReadback, Scene11CreditsFillTheMiddleAtFirstAndAreGoneAfter28Seconds) {
  StartScene(kScene11, 84531);
  const HarnessPicture first = HarnessFrame(84531);
  for (const auto& [x, y] : {std::pair{320, 240}, {220, 140}, {420, 340}, {220, 340}, {420, 140}}) {
    EXPECT_GT(PixelAt(first, x, y).b, 240) << x << ", " << y;
  }
  EXPECT_LT(PixelAt(first, 320, 440).b, 40) << "above the square";
  EXPECT_EQ(CountPixels(HarnessFrame(84531 + 30000), [](int, int, Rgb c) { return c.b > 40; }), 0)
      << "the square and its ghosts are behind the eye";
}

}  // namespace
