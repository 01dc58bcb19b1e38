#include "tools/make-pictures/plant_shapes.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

// Points along a curve rising from `base`: t = 0 at the base, 1 at the tip.
std::vector<Point> Bend(Point base, double height, double lean, int steps) {
  std::vector<Point> path;
  for (int i = 0; i <= steps; ++i) {
    const double t = static_cast<double>(i) / steps;
    path.push_back({base.x + lean * t * t, base.y - height * t});
  }
  return path;
}

}  // namespace

void DrawBlade(Mask& mask, Point base, double height, double lean, double width) {
  DrawTaperedPath(mask, Bend(base, height, lean, 12), width, 0.6, true);
}

void DrawVine(Mask& mask, RandomSource& random, Point top, double length, double leafSize) {
  std::vector<Point> path;
  const double phase = random.Between(0.0, 2.0 * kPi);
  const int steps = 16;
  for (int i = 0; i <= steps; ++i) {
    const double t = static_cast<double>(i) / steps;
    path.push_back({top.x + 7.0 * std::sin(phase + 5.0 * t), top.y + length * t});
  }
  DrawTaperedPath(mask, path, 2.2, 1.0, true);
  for (int i = 3; i <= steps; i += 3) {
    const double side = (i / 3) % 2 ? 1.0 : -1.0;
    const Point at = path[i];
    Draw(mask, Ellipse({at.x + side * leafSize * 0.8, at.y + leafSize * 0.3}, leafSize, leafSize * 0.45, side * 0.6),
         true);
  }
}

void DrawBranch(Mask& mask, RandomSource& random, Point start, double angle, double length, double radius, int depth) {
  const Point end{start.x + length * std::cos(angle), start.y + length * std::sin(angle)};
  const Point middle{(start.x + end.x) / 2.0 + random.Between(-4, 4), (start.y + end.y) / 2.0 + random.Between(-4, 4)};
  DrawTaperedPath(mask, {start, middle, end}, radius, radius * 0.7, true);
  if (depth == 0) {
    Draw(mask, Ellipse(end, 9.0, 5.0, angle), true);
    return;
  }
  DrawBranch(mask, random, end, angle - random.Between(0.3, 0.7), length * 0.72, radius * 0.65, depth - 1);
  DrawBranch(mask, random, end, angle + random.Between(0.3, 0.7), length * 0.72, radius * 0.65, depth - 1);
}

void DrawBush(Mask& mask, RandomSource& random, Point base, double radius) {
  for (int k = 0; k < 7; ++k) {
    const double angle = kPi + kPi * (k + 0.5) / 7.0;  // the upper half circle
    const double r = radius * random.Between(0.35, 0.6);
    Draw(mask, Disc({base.x + radius * 0.7 * std::cos(angle), base.y + radius * 0.55 * std::sin(angle)}, r), true);
  }
  Draw(mask, Ellipse(base, radius, radius * 0.4, 0.0), true);
}

void DrawThornStem(Mask& mask, RandomSource& random, Point base, double height, double lean) {
  const std::vector<Point> path = Bend(base, height, lean, 10);
  DrawTaperedPath(mask, path, 3.2, 1.2, true);
  for (std::size_t i = 1; i + 1 < path.size(); ++i) {
    const double side = i % 2 ? 1.0 : -1.0;
    const double size = random.Between(5.0, 9.0) * (1.0 - 0.06 * i);
    const Point p = path[i];
    Draw(mask, Polygon({{p.x, p.y - 3.0}, {p.x + side * size, p.y - size * 0.9}, {p.x, p.y + 3.0}}), true);
  }
}

void DrawReed(Mask& mask, Point base, double height, double lean) {
  const std::vector<Point> path = Bend(base, height, lean, 12);
  DrawTaperedPath(mask, path, 1.8, 1.0, true);
  const Point head = path[10];
  const Point below = path[8];
  Draw(mask, Ellipse({(head.x + below.x) / 2.0, (head.y + below.y) / 2.0}, height * 0.09, 3.6,
                     std::atan2(head.y - below.y, head.x - below.x)),
       true);
}

void DrawStemFlower(Mask& mask, Point base, double height, double lean, double bloom) {
  const std::vector<Point> path = Bend(base, height, lean, 10);
  DrawTaperedPath(mask, path, 2.4, 1.4, true);
  const Point head = path.back();
  for (int k = 0; k < 6; ++k) {
    const double angle = 2.0 * kPi * k / 6.0;
    Draw(mask, Ellipse({head.x + bloom * std::cos(angle), head.y + bloom * std::sin(angle)}, bloom, bloom * 0.45, angle),
         true);
  }
  Draw(mask, Disc(head, bloom * 0.5), true);
}

void DrawGround(Mask& mask, RandomSource& random, double top, double bottom) {
  const double width = mask.width();
  const double phase = random.Between(0.0, 2.0 * kPi);
  std::vector<Point> outline{{0.0, bottom}};
  for (int i = 0; i <= 32; ++i) {
    const double x = width * i / 32.0;
    // Whole periods across the width, so the ground's edge meets itself at the seam.
    outline.push_back({x, top + 4.0 * std::sin(phase + 2.0 * kPi * 2.0 * x / width) +
                              2.0 * std::sin(phase * 2.0 + 2.0 * kPi * 5.0 * x / width)});
  }
  outline.push_back({width, bottom});
  Draw(mask, Polygon(outline), true);
}
