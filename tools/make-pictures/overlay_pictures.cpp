// The six frame silhouettes of the beat overlay. Only their alpha shows (the colour is multiplied
// by black), tiled one to four times over a square whose top three quarters fill the screen: so
// each frame hangs from the top edge, stands on a ground band just below three quarters of the
// height and climbs the left and right edges, which meet at the seam. The top-left corner is kept
// clear: before the first beat the whole screen takes that texel's alpha.
#include <cmath>
#include <functional>

#include "tools/make-pictures/picture_set.h"
#include "tools/make-pictures/plant_shapes.h"

namespace {

constexpr int kSize = 256;
constexpr double kGroundTop = 0.78 * kSize;  // the screen's bottom edge lies at 0.75 with one tile
constexpr double kGroundBottom = 0.88 * kSize;
constexpr double kCornerClearance = 10.0;

using Frame = std::function<void(Mask&, RandomSource&)>;

// Positions along the top edge that keep away from the corner.
double TopX(RandomSource& random) { return random.Between(28.0, kSize - 28.0); }

void GrassAndVines(Mask& mask, RandomSource& random) {
  for (int i = 0; i < 70; ++i)
    DrawBlade(mask, {random.Between(0, kSize), kGroundTop + 6}, random.Between(12, 56), random.Between(-16, 16),
              random.Between(2.0, 3.5));
  for (int i = 0; i < 7; ++i) DrawVine(mask, random, {TopX(random), -8.0}, random.Between(30, 90), 6.0);
}

void BranchesAndBushes(Mask& mask, RandomSource& random) {
  DrawBranch(mask, random, {60, -10}, 1.35, 44, 6.0, 3);
  DrawBranch(mask, random, {190, -10}, 1.8, 50, 6.5, 3);
  for (int i = 0; i < 6; ++i) DrawBush(mask, random, {kSize * (i + 0.5) / 6.0, kGroundTop + 4}, random.Between(16, 30));
}

void ThornsAtTheSides(Mask& mask, RandomSource& random) {
  DrawThornStem(mask, random, {4, kGroundTop + 4}, 120, 10);
  DrawThornStem(mask, random, {-6, kGroundTop + 4}, 90, -16);
  DrawThornStem(mask, random, {128, kGroundTop + 4}, 40, 8);
  for (int i = 0; i < 5; ++i) DrawThornStem(mask, random, {TopX(random), -4.0}, -random.Between(24, 50), 0);
  for (int i = 0; i < 30; ++i)
    DrawBlade(mask, {random.Between(0, kSize), kGroundTop + 6}, random.Between(8, 30), random.Between(-8, 8), 2.0);
}

void HangingLeaves(Mask& mask, RandomSource& random) {
  for (int i = 0; i < 9; ++i) {
    const double x = TopX(random), length = random.Between(20, 70);
    DrawTaperedPath(mask, {{x, -6.0}, {x + random.Between(-6, 6), length}}, 2.0, 1.2, true);
    Draw(mask, Ellipse({x, length + 12}, 15, 7, 1.5 + random.Between(-0.3, 0.3)), true);
  }
  for (int i = 0; i < 5; ++i) DrawBush(mask, random, {random.Between(0, kSize), kGroundTop + 4}, random.Between(20, 34));
}

void FlowersOnStems(Mask& mask, RandomSource& random) {
  for (int i = 0; i < 9; ++i)
    DrawStemFlower(mask, {random.Between(0, kSize), kGroundTop + 6}, random.Between(24, 80), random.Between(-14, 14),
                   random.Between(5, 9));
  for (int i = 0; i < 40; ++i)
    DrawBlade(mask, {random.Between(0, kSize), kGroundTop + 6}, random.Between(6, 20), random.Between(-6, 6), 1.8);
  for (int i = 0; i < 5; ++i) DrawVine(mask, random, {TopX(random), -8.0}, random.Between(20, 60), 5.0);
}

void ReedsAndMoss(Mask& mask, RandomSource& random) {
  for (int i = 0; i < 16; ++i)
    DrawReed(mask, {random.Between(0, kSize), kGroundTop + 6}, random.Between(50, 130), random.Between(-20, 20));
  for (int i = 0; i < 26; ++i) {
    const double x = TopX(random);
    DrawTaperedPath(mask, {{x, -6.0}, {x + random.Between(-3, 3), random.Between(10, 46)}}, 1.6, 0.6, true);
  }
}

Mask FrameMask(const Frame& frame, std::uint32_t seed) {
  Mask mask(kSize, kSize);
  RandomSource random(seed);
  DrawGround(mask, random, kGroundTop, kGroundBottom);
  frame(mask, random);
  Mask corner(kSize, kSize);
  Draw(corner, Disc({0.0, 0.0}, kCornerClearance), true);
  mask.Soften(1);
  mask.Subtract(corner);
  return mask;
}

// The colour picture carries the same silhouette in dark grey (grey costs the codec one channel).
Canvas FrameColour(const Mask& mask) {
  Canvas colour(kSize, kSize);
  colour.Paint(mask, {40, 40, 40});
  return colour;
}

}  // namespace

std::vector<NamedPicture> OverlayPictures(const PictureSources&) {
  const Frame frames[] = {GrassAndVines, BranchesAndBushes, ThornsAtTheSides, HangingLeaves, FlowersOnStems,
                          ReedsAndMoss};
  std::vector<NamedPicture> pictures;
  for (int i = 0; i < 6; ++i) {
    const Mask mask = FrameMask(frames[i], 1000u + static_cast<std::uint32_t>(i));
    const std::string stem = "data/overlay" + std::to_string(i + 1);
    pictures.push_back({stem + "_alpha.hwl", GreyOf(mask), Detailed(0.5)});
    pictures.push_back({stem + ".hwl", FrameColour(mask), Detailed(1.0)});
  }
  return pictures;
}
