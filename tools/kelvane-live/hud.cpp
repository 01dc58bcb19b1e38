#include "tools/kelvane-live/hud.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kPixelSize = 13;
constexpr int kFirstGlyph = 32;
constexpr int kGlyphCount = 95;  // ' ' to '~'
constexpr int kAtlasColumns = 16;
constexpr int kAtlasWidth = 256;
constexpr int kAtlasHeight = 128;
constexpr int kCellGap = 1;
constexpr int kMargin = 8;
constexpr int kBarHeight = 22;
constexpr int kLineSpacing = 16;

// Scene colours on the bar, one after another.
constexpr float kSpanColours[][3] = {{0.55f, 0.25f, 0.2f}, {0.2f, 0.4f, 0.55f}, {0.35f, 0.5f, 0.2f},
                                     {0.5f, 0.35f, 0.55f}};

std::string Fixed(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

void Quad(float x0, float y0, float x1, float y1) {
  glVertex2f(x0, y0);
  glVertex2f(x1, y0);
  glVertex2f(x1, y1);
  glVertex2f(x0, y1);
}

}  // namespace

std::string ClockText(std::int32_t ms) {
  char text[32];
  const std::int32_t clamped = std::max(ms, 0);
  std::snprintf(text, sizeof text, "%02d:%02d.%03d", clamped / 60000, clamped / 1000 % 60, clamped % 1000);
  return text;
}

Hud::Hud(const std::string& fontFile) {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  if (FT_Init_FreeType(&library) != 0) return;
  if (FT_New_Face(library, fontFile.c_str(), 0, &face) != 0 || FT_Set_Pixel_Sizes(face, 0, kPixelSize) != 0) {
    FT_Done_FreeType(library);
    return;
  }
  cellWidth_ = static_cast<int>(face->size->metrics.max_advance >> 6);
  ascent_ = static_cast<int>(face->size->metrics.ascender >> 6);
  cellHeight_ = static_cast<int>(face->size->metrics.height >> 6);
  std::vector<std::uint8_t> atlas(std::size_t(kAtlasWidth) * kAtlasHeight, 0);
  for (int k = 0; k < kGlyphCount; ++k) {
    if (FT_Load_Char(face, FT_ULong(kFirstGlyph + k), FT_LOAD_RENDER) != 0) continue;
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    const HudRect cell = AtlasCell(k);
    const int glyphX = cell.x + face->glyph->bitmap_left;
    const int glyphY = cell.y + ascent_ - face->glyph->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
      for (unsigned column = 0; column < bitmap.width; ++column) {
        const int x = glyphX + int(column), y = glyphY + int(row);
        if (cell.Contains(x, y) && x < kAtlasWidth && y < kAtlasHeight)
          atlas[std::size_t(y) * kAtlasWidth + std::size_t(x)] = bitmap.buffer[row * unsigned(bitmap.pitch) + column];
      }
    }
  }
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  glPushAttrib(GL_TEXTURE_BIT);
  glGenTextures(1, &glyphs_);
  glBindTexture(GL_TEXTURE_2D, glyphs_);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, kAtlasWidth, kAtlasHeight, 0, GL_ALPHA, GL_UNSIGNED_BYTE, atlas.data());
  glPopAttrib();
}

// A glyph's cell in the texture. Cells stand a pixel apart, so that no glyph's ink reaches into its
// neighbour's cell and shows on screen beside it.
HudRect Hud::AtlasCell(int glyph) const {
  return {(glyph % kAtlasColumns) * (cellWidth_ + kCellGap) + kCellGap,
          (glyph / kAtlasColumns) * (cellHeight_ + kCellGap) + kCellGap, cellWidth_, cellHeight_};
}

Hud::~Hud() {
  if (glyphs_) glDeleteTextures(1, &glyphs_);
}

HudRect Hud::Bar(int width, int height) {
  return {kMargin, height - kMargin - kBarHeight, std::max(width - 2 * kMargin, 1), kBarHeight};
}

void Hud::Text(const std::string& text, float x, float y, float r, float g, float b) {
  if (!glyphs_) return;
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, glyphs_);
  glColor4f(r, g, b, 1);
  glBegin(GL_QUADS);
  for (char c : text) {
    const int k = static_cast<unsigned char>(c) - kFirstGlyph;
    if (k > 0 && k < kGlyphCount) {
      const HudRect cell = AtlasCell(k);
      const float s0 = float(cell.x) / kAtlasWidth, t0 = float(cell.y) / kAtlasHeight;
      const float s1 = float(cell.x + cell.width) / kAtlasWidth, t1 = float(cell.y + cell.height) / kAtlasHeight;
      glTexCoord2f(s0, t0), glVertex2f(x, y);
      glTexCoord2f(s1, t0), glVertex2f(x + float(cellWidth_), y);
      glTexCoord2f(s1, t1), glVertex2f(x + float(cellWidth_), y + float(cellHeight_));
      glTexCoord2f(s0, t1), glVertex2f(x, y + float(cellHeight_));
    }
    x += float(cellWidth_);
  }
  glEnd();
  glDisable(GL_TEXTURE_2D);
}

void Hud::DrawLines(const HudContent& content) {
  std::vector<std::string> lines;
  lines.push_back(ClockText(content.time) + "  beat " + std::to_string(content.beat) + " / " +
                  std::to_string(content.beatPeriod) + " ms" + (content.paused ? "  paused" : ""));
  std::string scene = "no scene";
  for (const HudSpan& span : content.spans) {
    if (content.time >= span.start && content.time <= span.end)
      scene = span.name + "  " + ClockText(span.start) + " - " + ClockText(span.end);
  }
  lines.push_back(scene);
  lines.push_back(Fixed("%.1f fps", content.framesPerSecond) + Fixed("  %.1f ms", content.frameMs));
  std::string loop = "loop ";
  loop += content.loopIn ? ClockText(*content.loopIn) : std::string("--:--.---");
  loop += " - ";
  loop += content.loopOut ? ClockText(*content.loopOut) : std::string("--:--.---");
  lines.push_back(loop + (content.looping ? "  on" : "  off"));
  if (!content.reloadMessage.empty()) lines.push_back(content.reloadMessage);

  const float top = kMargin, width = float(cellWidth_) * 64, height = float(kLineSpacing * lines.size() + 6);
  glColor4f(0, 0, 0, 0.6f);
  glBegin(GL_QUADS);
  Quad(top - 4, top - 4, top + width, top + height);
  glEnd();
  for (std::size_t k = 0; k < lines.size(); ++k) Text(lines[k], top, top + float(k * kLineSpacing), 1, 1, 1);
}

void Hud::DrawBar(const HudContent& content, int width, int height) {
  const HudRect bar = Bar(width, height);
  const double last = std::max(content.last, 1);
  const auto X = [&](double time) { return float(bar.x + std::clamp(time / last, 0.0, 1.0) * bar.width); };
  const float top = float(bar.y), bottom = float(bar.y + bar.height);
  glBegin(GL_QUADS);
  glColor4f(0, 0, 0, 0.6f);
  Quad(float(bar.x), top, float(bar.x + bar.width), bottom);
  for (std::size_t k = 0; k < content.spans.size(); ++k) {
    const float* c = kSpanColours[k % std::size(kSpanColours)];
    glColor4f(c[0], c[1], c[2], 0.85f);
    Quad(X(content.spans[k].start), top + 2, X(content.spans[k].end + 1), bottom - 2);
  }
  if (content.loopIn && content.loopOut && *content.loopIn < *content.loopOut) {
    glColor4f(1, 1, 0.3f, content.looping ? 0.45f : 0.2f);
    Quad(X(*content.loopIn), top, X(*content.loopOut), bottom);
  }
  glColor4f(1, 1, 1, 1);
  Quad(X(content.time) - 1, top - 3, X(content.time) + 1, bottom + 3);
  glEnd();
  for (const HudSpan& span : content.spans) {
    const float room = X(span.end + 1) - X(span.start);
    if (room > float(cellWidth_) * float(span.name.size() + 1))
      Text(span.name, X(span.start) + 3, top + (float(kBarHeight) - float(cellHeight_)) / 2, 1, 1, 1);
  }
}

void Hud::Draw(const HudContent& content, int width, int height) {
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, width, height, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  DrawLines(content);
  DrawBar(content, width, height);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glPopAttrib();
}
