// Text into masks with FreeType: anti-aliased glyphs of one font at one pixel size.
#pragma once

#include <memory>
#include <string>

#include "tools/make-pictures/canvas.h"

class Font {
 public:
  // Opens the font file at `pixelSize` (the em height in pixels); throws std::runtime_error with
  // the file name when FreeType cannot.
  Font(const std::string& file, int pixelSize);
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  // Advance width of the text in pixels, kerning included.
  double Width(const std::string& text) const;
  // Height of a capital letter above the baseline, in pixels.
  double CapHeight() const;
  // Draws the text with its baseline at `baseline`, starting at `left`; coverage adds to the mask
  // (larger wins). With `wrap` glyphs that cross an edge continue on the other side.
  void Draw(Mask& mask, const std::string& text, double left, double baseline, bool wrap = false) const;
  // The text centred on `centreX`.
  void DrawCentred(Mask& mask, const std::string& text, double centreX, double baseline, bool wrap = false) const;

 private:
  struct Library;
  std::unique_ptr<Library> library_;
};

// The font folder the build was configured with, and the file names of the faces the pictures use.
std::string FontPath(const std::string& face);
inline constexpr const char* kBoldFace = "DejaVuSans-Bold.ttf";
inline constexpr const char* kCondensedBoldFace = "DejaVuSansCondensed-Bold.ttf";
inline constexpr const char* kSerifFace = "DejaVuSerif-Bold.ttf";
inline constexpr const char* kSerifItalicFace = "DejaVuSerif-Italic.ttf";
