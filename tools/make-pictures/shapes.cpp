#include "tools/make-pictures/shapes.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSamples = 4;

double Square(double v) { return v * v; }

// Coverage of pixel (px, py) of the plane (unwrapped coordinates) by the shape.
float Coverage(const Shape& shape, int px, int py) {
  int inside = 0;
  for (int sy = 0; sy < kSamples; ++sy)
    for (int sx = 0; sx < kSamples; ++sx)
      if (shape.Contains(px + (sx + 0.5) / kSamples, py + (sy + 0.5) / kSamples)) ++inside;
  return static_cast<float>(inside) / (kSamples * kSamples);
}

}  // namespace

Bounds Disc::Extent() const {
  return {centre_.x - radius_, centre_.y - radius_, centre_.x + radius_, centre_.y + radius_};
}

bool Disc::Contains(double x, double y) const {
  return Square(x - centre_.x) + Square(y - centre_.y) <= Square(radius_);
}

Ellipse::Ellipse(Point centre, double rx, double ry, double angle)
    : centre_(centre), rx_(rx), ry_(ry), cos_(std::cos(angle)), sin_(std::sin(angle)) {}

Bounds Ellipse::Extent() const {
  const double r = std::max(rx_, ry_);
  return {centre_.x - r, centre_.y - r, centre_.x + r, centre_.y + r};
}

bool Ellipse::Contains(double x, double y) const {
  const double dx = x - centre_.x, dy = y - centre_.y;
  const double along = dx * cos_ + dy * sin_;
  const double across = -dx * sin_ + dy * cos_;
  return Square(along / rx_) + Square(across / ry_) <= 1.0;
}

Bounds Stroke::Extent() const {
  return {std::min(a_.x, b_.x) - radius_, std::min(a_.y, b_.y) - radius_, std::max(a_.x, b_.x) + radius_,
          std::max(a_.y, b_.y) + radius_};
}

bool Stroke::Contains(double x, double y) const {
  const double vx = b_.x - a_.x, vy = b_.y - a_.y;
  const double length2 = vx * vx + vy * vy;
  double t = length2 > 0.0 ? ((x - a_.x) * vx + (y - a_.y) * vy) / length2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return Square(x - (a_.x + t * vx)) + Square(y - (a_.y + t * vy)) <= Square(radius_);
}

Bounds Polygon::Extent() const {
  Bounds b{1e30, 1e30, -1e30, -1e30};
  for (const Point& p : points_) {
    b.left = std::min(b.left, p.x);
    b.top = std::min(b.top, p.y);
    b.right = std::max(b.right, p.x);
    b.bottom = std::max(b.bottom, p.y);
  }
  return b;
}

bool Polygon::Contains(double x, double y) const {
  bool inside = false;
  for (std::size_t i = 0, j = points_.size() - 1; i < points_.size(); j = i++) {
    const Point& a = points_[i];
    const Point& b = points_[j];
    if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
  }
  return inside;
}

void Draw(Mask& mask, const Shape& shape, bool wrap) {
  const Bounds b = shape.Extent();
  const int x0 = static_cast<int>(std::floor(b.left)), x1 = static_cast<int>(std::ceil(b.right));
  const int y0 = static_cast<int>(std::floor(b.top)), y1 = static_cast<int>(std::ceil(b.bottom));
  for (int py = y0; py <= y1; ++py)
    for (int px = x0; px <= x1; ++px) {
      int x = px, y = py;
      if (wrap) {
        x = ((x % mask.width()) + mask.width()) % mask.width();
        y = ((y % mask.height()) + mask.height()) % mask.height();
      } else if (x < 0 || y < 0 || x >= mask.width() || y >= mask.height()) {
        continue;
      }
      float& cell = mask.at(x, y);
      if (cell >= 1.0f) continue;
      cell = std::max(cell, Coverage(shape, px, py));
    }
}

void DrawTaperedPath(Mask& mask, const std::vector<Point>& path, double startRadius, double endRadius,
                     bool wrap) {
  if (path.size() < 2) return;
  const std::size_t segments = path.size() - 1;
  for (std::size_t i = 0; i < segments; ++i) {
    const double t = static_cast<double>(i) / segments;
    const double radius = startRadius + (endRadius - startRadius) * t;
    Draw(mask, Stroke(path[i], path[i + 1], radius), wrap);
  }
}
