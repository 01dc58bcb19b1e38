// The sign of the beat overlay's strip, the credits and the loading screen.
#include <cmath>
#include <numbers>

#include "tools/make-pictures/picture_set.h"
#include "tools/make-pictures/shapes.h"
#include "tools/make-pictures/text_render.h"
#include "tools/make-pictures/texgen_source.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kSignSize = 256;

// A rounded square outline as four strokes and four corner arcs.
void DrawFrameOutline(Mask& mask, double inset, double corner, double radius) {
  const double lo = inset + corner, hi = kSignSize - inset - corner;
  DrawTaperedPath(mask, {{lo, inset}, {hi, inset}}, radius, radius);
  DrawTaperedPath(mask, {{lo, kSignSize - inset}, {hi, kSignSize - inset}}, radius, radius);
  DrawTaperedPath(mask, {{inset, lo}, {inset, hi}}, radius, radius);
  DrawTaperedPath(mask, {{kSignSize - inset, lo}, {kSignSize - inset, hi}}, radius, radius);
  const Point centres[] = {{lo, lo}, {hi, lo}, {hi, hi}, {lo, hi}};
  for (int c = 0; c < 4; ++c) {
    std::vector<Point> arc;
    for (int i = 0; i <= 8; ++i) {
      const double angle = kPi + c * kPi / 2.0 + i * kPi / 16.0;
      arc.push_back({centres[c].x + corner * std::cos(angle), centres[c].y + corner * std::sin(angle)});
    }
    DrawTaperedPath(mask, arc, radius, radius);
  }
}

}  // namespace

// Drawn additively: black adds nothing, so the sign is light on black. It is symmetric top to
// bottom, since the strip maps the picture's first row to the quad's lower edge.
std::vector<NamedPicture> SignPictures(const PictureSources&) {
  Mask lines(kSignSize, kSignSize);
  DrawFrameOutline(lines, 22.0, 30.0, 7.0);
  const double c = kSignSize / 2.0;
  DrawTaperedPath(lines, {{c, 56}, {200, c}, {c, 200}, {56, c}, {c, 56}}, 5.0, 5.0);
  Mask heart(kSignSize, kSignSize);
  Draw(heart, Disc({c, c}, 26.0));
  Mask glow = lines;
  glow.Unite(heart);
  glow.Soften(6);
  Canvas sign(kSignSize, kSignSize);
  sign.Paint(glow, {255, 120, 20}, 0.8);
  sign.Paint(lines, {255, 210, 120});
  sign.Paint(heart, {255, 245, 200});
  return {{"data/signoverlay.hwl", sign, Detailed(2.0)}};
}

namespace {

constexpr int kTitleSize = 512;

// Lays light text with a dark shadow over the picture.
void PaintText(Canvas& canvas, const Font& font, const std::string& text, double baseline, const Colour& colour) {
  Mask letters(kTitleSize, kTitleSize), shadow(kTitleSize, kTitleSize);
  font.DrawCentred(letters, text, kTitleSize / 2.0, baseline);
  font.DrawCentred(shadow, text, kTitleSize / 2.0 + 3.0, baseline + 3.0);
  shadow.Soften(2);
  canvas.Paint(shadow, {30, 0, 0}, 0.7);
  canvas.Paint(letters, colour);
}

// A faint eight-petalled flower behind the title.
void PaintFlowerMark(Canvas& canvas, const Colour& colour, double opacity) {
  Mask mark(kTitleSize, kTitleSize);
  const double c = kTitleSize / 2.0;
  for (int k = 0; k < 8; ++k) {
    const double angle = k * kPi / 4.0;
    Draw(mark, Ellipse({c + 120 * std::cos(angle), c + 120 * std::sin(angle)}, 110, 40, angle));
  }
  Draw(mark, Disc({c, c}, 40));
  mark.Soften(2);
  canvas.Paint(mark, colour, opacity);
}

}  // namespace

std::vector<NamedPicture> CreditsPictures(const PictureSources& sources) {
  Canvas credits = RunTexgenProgram(sources.Texgen("credits_ground.tg"), kTitleSize, kTitleSize);
  PaintFlowerMark(credits, {255, 150, 40}, 0.18);
  const Font title(FontPath(kSerifFace), 72), role(FontPath(kSerifItalicFace), 26), name(FontPath(kBoldFace), 34);
  PaintText(credits, title, "Kelvane", 120, {255, 220, 120});
  PaintText(credits, role, "code, pictures and music", 200, {255, 190, 160});
  PaintText(credits, name, "THE QUILL", 246, {255, 255, 255});
  PaintText(credits, role, "made with its own engine", 320, {255, 190, 160});
  PaintText(credits, name, "THANK YOU", 366, {255, 255, 255});
  PaintText(credits, role, "for watching", 410, {255, 190, 160});
  return {{"data/credits.hwl", credits, Detailed(2.0)}};
}

std::vector<NamedPicture> LoadingPictures(const PictureSources& sources) {
  Canvas loading = RunTexgenProgram(sources.Texgen("loading_ground.tg"), kTitleSize, kTitleSize);
  PaintFlowerMark(loading, {150, 20, 0}, 0.35);
  const Font small(FontPath(kSerifItalicFace), 34), title(FontPath(kSerifFace), 104);
  PaintText(loading, small, "the Quill presents", 190, {255, 245, 220});
  PaintText(loading, title, "Kelvane", 320, {255, 255, 255});
  return {{"data/loading.hwl", loading, Detailed(2.0)}};
}
