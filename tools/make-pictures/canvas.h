// The pictures' working surfaces: a coverage mask (0 to 1 per pixel) that shapes and text are
// rasterised into, and an RGB canvas (0 to 255 per channel, double precision) that masks paint on.
#pragma once

#include <cstdint>
#include <vector>

struct Colour {
  double r = 0.0;
  double g = 0.0;
  double b = 0.0;
};

Colour Mix(const Colour& a, const Colour& b, double t);

class Mask {
 public:
  Mask(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }
  float at(int x, int y) const { return cover_[Index(x, y)]; }
  float& at(int x, int y) { return cover_[Index(x, y)]; }
  // The value at wrapped coordinates.
  float Wrapped(int x, int y) const;
  void Invert();
  // Keeps only what both masks cover (pixel minimum).
  void Intersect(const Mask& other);
  // Removes what `other` covers.
  void Subtract(const Mask& other);
  void Unite(const Mask& other);
  // A box blur of `radius` pixels, wrapping at the borders (keeps tiling pictures seamless).
  void Soften(int radius);

 private:
  std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }
  int width_;
  int height_;
  std::vector<float> cover_;
};

class Canvas {
 public:
  Canvas(int width, int height, const Colour& background = {});
  int width() const { return width_; }
  int height() const { return height_; }
  Colour Get(int x, int y) const;
  void Set(int x, int y, const Colour& colour);
  // Lays `colour` over the canvas where the mask covers it, times `opacity`.
  void Paint(const Mask& mask, const Colour& colour, double opacity = 1.0);
  // The same with a colour that varies over the picture.
  template <typename ColourAt>
  void PaintWith(const Mask& mask, ColourAt colourAt, double opacity = 1.0) {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        const double a = mask.at(x, y) * opacity;
        if (a > 0.0) Set(x, y, Mix(Get(x, y), colourAt(x, y), a));
      }
  }
  // Multiplies every channel by `factor` / 255 where the mask covers (a texture laid into a shape).
  void Modulate(const Canvas& factor, const Mask& mask, double strength);
  // Interleaved 8-bit R, G, B, rounded and clamped.
  std::vector<std::uint8_t> Bytes() const;

 private:
  std::size_t Index(int x, int y) const { return (static_cast<std::size_t>(y) * width_ + x) * 3; }
  int width_;
  int height_;
  std::vector<double> rgb_;
};

// A canvas whose three channels all carry the mask, 0 to 255: the alpha pictures.
Canvas GreyOf(const Mask& mask);
