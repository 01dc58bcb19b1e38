// The flower (alpha from its own blue channel) and the bird silhouette.
#include <cmath>
#include <numbers>

#include "tools/make-pictures/picture_set.h"
#include "tools/make-pictures/shapes.h"
#include "tools/make-pictures/texgen_source.h"

namespace {

constexpr int kFlowerSize = 512;
constexpr double kCentre = kFlowerSize / 2.0;
constexpr double kPi = std::numbers::pi;

Point Around(double angle, double distance) {
  return {kCentre + distance * std::cos(angle), kCentre + distance * std::sin(angle)};
}

double DistanceFromCentre(int x, int y) { return std::hypot(x + 0.5 - kCentre, y + 0.5 - kCentre); }

struct PetalRing {
  int count;
  double turn;      // angle of the first petal, radians
  double distance;  // of the petal's middle from the flower's centre
  double length, width;
  Colour rim, base, tip;
};

// Each petal in turn: a darker rim, then its body shading from base to tip, then a middle vein
// whose lower blue reads as a fine line in the silhouette.
void PaintPetals(Canvas& canvas, const PetalRing& ring) {
  const double reach = ring.distance + ring.length;
  for (int k = 0; k < ring.count; ++k) {
    const double angle = ring.turn + 2.0 * kPi * k / ring.count;
    Mask whole(kFlowerSize, kFlowerSize), body(kFlowerSize, kFlowerSize), vein(kFlowerSize, kFlowerSize);
    Draw(whole, Ellipse(Around(angle, ring.distance), ring.length, ring.width, angle));
    Draw(body, Ellipse(Around(angle, ring.distance - 2.0), ring.length - 7.0, ring.width - 6.0, angle));
    DrawTaperedPath(vein, {Around(angle, ring.distance - ring.length * 0.6), Around(angle, reach - 18.0)}, 2.4,
                    0.8);
    vein.Intersect(body);
    canvas.Paint(whole, ring.rim);
    canvas.PaintWith(body, [&](int x, int y) { return Mix(ring.base, ring.tip, DistanceFromCentre(x, y) / reach); });
    canvas.Paint(vein, ring.rim, 0.7);
  }
}

void PaintHeart(Canvas& canvas) {
  Mask heart(kFlowerSize, kFlowerSize), stamens(kFlowerSize, kFlowerSize), eye(kFlowerSize, kFlowerSize);
  Draw(heart, Disc({kCentre, kCentre}, 50.0));
  for (int k = 0; k < 20; ++k) Draw(stamens, Disc(Around(2.0 * kPi * k / 20.0, 36.0), 5.5));
  Draw(eye, Disc({kCentre, kCentre}, 20.0));
  canvas.PaintWith(heart, [](int x, int y) {
    return Mix(Colour{255, 250, 235}, Colour{255, 205, 175}, DistanceFromCentre(x, y) / 50.0);
  });
  canvas.Paint(stamens, {190, 50, 125});
  canvas.Paint(eye, {255, 240, 215});
}

}  // namespace

std::vector<NamedPicture> FlowerPictures(const PictureSources& sources) {
  Canvas flower(kFlowerSize, kFlowerSize);  // black: blue 0, fully transparent around the flower
  PaintPetals(flower, {10, 0.0, 132.0, 118.0, 46.0, {205, 70, 190}, {255, 215, 245}, {250, 120, 230}});
  PaintPetals(flower, {10, kPi / 10.0, 84.0, 82.0, 33.0, {215, 95, 200}, {255, 235, 250}, {255, 160, 235}});
  PaintHeart(flower);
  Mask everywhere(kFlowerSize, kFlowerSize);
  everywhere.Invert();
  flower.Modulate(RunTexgenProgram(sources.Texgen("petal_grain.tg"), kFlowerSize, kFlowerSize), everywhere, 0.3);
  return {{"data/flower1.hwl", flower, Detailed(2.0)}};
}

namespace {

constexpr int kBirdSize = 256;

Mask BirdShape() {
  Mask bird(kBirdSize, kBirdSize);
  Draw(bird, Ellipse({132, 150}, 64, 21, -0.18));                                   // body
  Draw(bird, Disc({74, 136}, 19));                                                   // head
  Draw(bird, Polygon({{58, 128}, {28, 140}, {58, 144}}));                            // beak
  Draw(bird, Polygon({{190, 136}, {246, 112}, {238, 140}, {248, 166}, {192, 162}}));  // tail
  Draw(bird, Polygon({{100, 140}, {78, 60}, {96, 22}, {126, 70}, {150, 140}}));       // far wing
  Draw(bird, Polygon({{118, 150}, {164, 64}, {214, 40}, {190, 96}, {160, 156}}));     // near wing
  bird.Soften(1);
  return bird;
}

}  // namespace

std::vector<NamedPicture> BirdPictures(const PictureSources&) {
  const Mask bird = BirdShape();
  Canvas colour(kBirdSize, kBirdSize);
  colour.PaintWith(bird, [](int, int y) { return Mix(Colour{30, 36, 60}, Colour{120, 90, 80}, y / 256.0); });
  return {{"data/birdie.hwl", colour, Detailed(2.0)}, {"data/birdie_alpha.hwl", GreyOf(bird), Detailed(2.0)}};
}
