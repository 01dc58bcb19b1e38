// Filled shapes in pixel coordinates (x right, y down, pixel centres at +0.5), rasterised into a
// mask with 4 × 4 samples per pixel. A shape drawn with wrapping also appears where it crosses an
// edge on the opposite side, so a picture built that way tiles without a seam.
#pragma once

#include <vector>

#include "tools/make-pictures/canvas.h"

struct Point {
  double x = 0.0;
  double y = 0.0;
};

struct Bounds {
  double left, top, right, bottom;
};

class Shape {
 public:
  virtual ~Shape() = default;
  virtual Bounds Extent() const = 0;
  virtual bool Contains(double x, double y) const = 0;
};

class Disc : public Shape {
 public:
  Disc(Point centre, double radius) : centre_(centre), radius_(radius) {}
  Bounds Extent() const override;
  bool Contains(double x, double y) const override;

 private:
  Point centre_;
  double radius_;
};

// An ellipse with half-axes `rx` along `angle` (radians) and `ry` across it.
class Ellipse : public Shape {
 public:
  Ellipse(Point centre, double rx, double ry, double angle);
  Bounds Extent() const override;
  bool Contains(double x, double y) const override;

 private:
  Point centre_;
  double rx_, ry_, cos_, sin_;
};

// A segment with round ends: a stroke of a brush of radius `radius`.
class Stroke : public Shape {
 public:
  Stroke(Point a, Point b, double radius) : a_(a), b_(b), radius_(radius) {}
  Bounds Extent() const override;
  bool Contains(double x, double y) const override;

 private:
  Point a_, b_;
  double radius_;
};

// Even-odd filled polygon.
class Polygon : public Shape {
 public:
  explicit Polygon(std::vector<Point> points) : points_(std::move(points)) {}
  Bounds Extent() const override;
  bool Contains(double x, double y) const override;

 private:
  std::vector<Point> points_;
};

// Adds the shape to the mask (coverage is the larger of old and new).
void Draw(Mask& mask, const Shape& shape, bool wrap = false);
// A tapering stroke along a polyline: radius runs from `startRadius` to `endRadius`.
void DrawTaperedPath(Mask& mask, const std::vector<Point>& path, double startRadius, double endRadius,
                     bool wrap = false);
