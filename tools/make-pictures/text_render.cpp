#include "tools/make-pictures/text_render.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <stdexcept>

#ifndef KELVANE_FONT_DIR
#define KELVANE_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

struct Font::Library {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  ~Library() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
  }
};

std::string FontPath(const std::string& face) { return std::string(KELVANE_FONT_DIR) + "/" + face; }

Font::Font(const std::string& file, int pixelSize) : library_(std::make_unique<Library>()) {
  if (FT_Init_FreeType(&library_->library) != 0) throw std::runtime_error("FreeType does not start");
  if (FT_New_Face(library_->library, file.c_str(), 0, &library_->face) != 0)
    throw std::runtime_error("cannot open the font " + file);
  FT_Set_Pixel_Sizes(library_->face, 0, static_cast<FT_UInt>(pixelSize));
}

Font::~Font() = default;

namespace {

double Kerning(FT_Face face, FT_UInt previous, FT_UInt glyph) {
  if (!previous || !FT_HAS_KERNING(face)) return 0.0;
  FT_Vector delta;
  FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &delta);
  return delta.x / 64.0;
}

void Blit(Mask& mask, const FT_Bitmap& bitmap, int left, int top, bool wrap) {
  for (unsigned row = 0; row < bitmap.rows; ++row)
    for (unsigned column = 0; column < bitmap.width; ++column) {
      int x = left + static_cast<int>(column), y = top + static_cast<int>(row);
      if (wrap) {
        x = ((x % mask.width()) + mask.width()) % mask.width();
        y = ((y % mask.height()) + mask.height()) % mask.height();
      } else if (x < 0 || y < 0 || x >= mask.width() || y >= mask.height()) {
        continue;
      }
      const float value = bitmap.buffer[row * bitmap.pitch + column] / 255.0f;
      mask.at(x, y) = std::max(mask.at(x, y), value);
    }
}

}  // namespace

double Font::Width(const std::string& text) const {
  FT_Face face = library_->face;
  double width = 0.0;
  FT_UInt previous = 0;
  for (unsigned char c : text) {
    const FT_UInt glyph = FT_Get_Char_Index(face, c);
    width += Kerning(face, previous, glyph);
    if (FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT) == 0) width += face->glyph->advance.x / 64.0;
    previous = glyph;
  }
  return width;
}

double Font::CapHeight() const {
  FT_Face face = library_->face;
  if (FT_Load_Char(face, 'H', FT_LOAD_DEFAULT) != 0) return 0.0;
  return face->glyph->metrics.horiBearingY / 64.0;
}

void Font::Draw(Mask& mask, const std::string& text, double left, double baseline, bool wrap) const {
  FT_Face face = library_->face;
  double pen = left;
  FT_UInt previous = 0;
  for (unsigned char c : text) {
    const FT_UInt glyph = FT_Get_Char_Index(face, c);
    pen += Kerning(face, previous, glyph);
    previous = glyph;
    if (FT_Load_Glyph(face, glyph, FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot slot = face->glyph;
    Blit(mask, slot->bitmap, static_cast<int>(std::lround(pen)) + slot->bitmap_left,
         static_cast<int>(std::lround(baseline)) - slot->bitmap_top, wrap);
    pen += slot->advance.x / 64.0;
  }
}

void Font::DrawCentred(Mask& mask, const std::string& text, double centreX, double baseline, bool wrap) const {
  Draw(mask, text, centreX - Width(text) / 2.0, baseline, wrap);
}
