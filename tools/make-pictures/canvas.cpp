#include "tools/make-pictures/canvas.h"

#include <algorithm>
#include <cmath>

Colour Mix(const Colour& a, const Colour& b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Mask::Mask(int width, int height)
    : width_(width), height_(height), cover_(static_cast<std::size_t>(width) * height, 0.0f) {}

float Mask::Wrapped(int x, int y) const {
  const int wx = ((x % width_) + width_) % width_;
  const int wy = ((y % height_) + height_) % height_;
  return at(wx, wy);
}

void Mask::Invert() {
  for (float& c : cover_) c = 1.0f - c;
}

void Mask::Intersect(const Mask& other) {
  for (std::size_t i = 0; i < cover_.size(); ++i) cover_[i] = std::min(cover_[i], other.cover_[i]);
}

void Mask::Subtract(const Mask& other) {
  for (std::size_t i = 0; i < cover_.size(); ++i) cover_[i] = std::min(cover_[i], 1.0f - other.cover_[i]);
}

void Mask::Unite(const Mask& other) {
  for (std::size_t i = 0; i < cover_.size(); ++i) cover_[i] = std::max(cover_[i], other.cover_[i]);
}

void Mask::Soften(int radius) {
  if (radius <= 0) return;
  const float weight = 1.0f / static_cast<float>(2 * radius + 1);
  std::vector<float> pass(cover_.size());
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      float sum = 0.0f;
      for (int d = -radius; d <= radius; ++d) sum += Wrapped(x + d, y);
      pass[Index(x, y)] = sum * weight;
    }
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      float sum = 0.0f;
      for (int d = -radius; d <= radius; ++d) sum += pass[Index(x, ((y + d) % height_ + height_) % height_)];
      cover_[Index(x, y)] = sum * weight;
    }
}

Canvas::Canvas(int width, int height, const Colour& background)
    : width_(width), height_(height), rgb_(static_cast<std::size_t>(width) * height * 3) {
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) Set(x, y, background);
}

Colour Canvas::Get(int x, int y) const {
  const std::size_t i = Index(x, y);
  return {rgb_[i], rgb_[i + 1], rgb_[i + 2]};
}

void Canvas::Set(int x, int y, const Colour& colour) {
  const std::size_t i = Index(x, y);
  rgb_[i] = colour.r;
  rgb_[i + 1] = colour.g;
  rgb_[i + 2] = colour.b;
}

void Canvas::Paint(const Mask& mask, const Colour& colour, double opacity) {
  PaintWith(mask, [&](int, int) { return colour; }, opacity);
}

void Canvas::Modulate(const Canvas& factor, const Mask& mask, double strength) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      const double a = mask.at(x, y) * strength;
      if (a <= 0.0) continue;
      const Colour f = factor.Get(x % factor.width(), y % factor.height());
      const Colour c = Get(x, y);
      const Colour scaled{c.r * f.r / 255.0, c.g * f.g / 255.0, c.b * f.b / 255.0};
      Set(x, y, Mix(c, scaled, a));
    }
}

std::vector<std::uint8_t> Canvas::Bytes() const {
  std::vector<std::uint8_t> bytes(rgb_.size());
  for (std::size_t i = 0; i < rgb_.size(); ++i)
    bytes[i] = static_cast<std::uint8_t>(std::clamp(std::lround(rgb_[i]), 0L, 255L));
  return bytes;
}

Canvas GreyOf(const Mask& mask) {
  Canvas grey(mask.width(), mask.height());
  for (int y = 0; y < mask.height(); ++y)
    for (int x = 0; x < mask.width(); ++x) {
      const double v = 255.0 * mask.at(x, y);
      grey.Set(x, y, {v, v, v});
    }
  return grey;
}
