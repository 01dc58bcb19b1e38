// The two text pictures: bands of large letters for the scrolling wave sheets (alpha from their
// own blue channel) and the 47 short lines the beat overlay shows one at a time.
#include <algorithm>
#include <cmath>

#include "tools/make-pictures/picture_set.h"
#include "tools/make-pictures/text_render.h"

namespace {

constexpr int kWaveSize = 512;
// A sheet with row offset o shows the picture from 0.03 + (o + 1) / 450 over 80 / 450 of its height.
constexpr int kSheetRowOffsets[] = {0, 75, 150, 232};
constexpr const char* kSheetWords[] = {"KELVANE  *  ", "IN BLOOM  *  ", "HEAT WAVE  *  ", "THE QUILL  *  "};

double SheetMiddle(int rowOffset) { return (0.03 + (rowOffset + 40.5) / 450.0) * kWaveSize; }

// One band of letters: the word sized to span the width once, drawn with wrapping so the
// sideways scroll runs on without a seam.
void DrawSheetBand(Mask& letters, const std::string& word, double middle) {
  constexpr int kLargest = 80;
  const double natural = Font(FontPath(kBoldFace), kLargest).Width(word);
  const int size = std::min(kLargest, static_cast<int>(kLargest * kWaveSize / natural));
  Font font(FontPath(kBoldFace), size);
  font.Draw(letters, word, (kWaveSize - font.Width(word)) / 2.0, middle + font.CapHeight() / 2.0, true);
}

// Letters shade from white at their top to pink at their baseline, band by band.
Colour SheetLetterColour(int y) {
  double nearest = 0.0;
  for (int rowOffset : kSheetRowOffsets)
    if (std::abs(y - SheetMiddle(rowOffset)) < std::abs(y - nearest)) nearest = SheetMiddle(rowOffset);
  const double t = std::clamp((y - nearest) / 60.0 + 0.5, 0.0, 1.0);
  return Mix(Colour{255, 255, 255}, Colour{255, 170, 235}, t);
}

}  // namespace

std::vector<NamedPicture> WaveTextPictures(const PictureSources&) {
  Mask letters(kWaveSize, kWaveSize);
  for (int band = 0; band < 4; ++band) DrawSheetBand(letters, kSheetWords[band], SheetMiddle(kSheetRowOffsets[band]));
  Mask glow = letters;
  glow.Soften(5);
  Canvas sheet(kWaveSize, kWaveSize);
  sheet.Paint(glow, {255, 120, 150}, 0.55);
  sheet.PaintWith(letters, [](int, int y) { return SheetLetterColour(y); });
  return {{"data/text_vmb1.hwl", sheet, Detailed(2.0)}};
}

namespace {

constexpr int kLineWidth = 512;
constexpr int kLinePictureHeight = 1024;
constexpr int kLineCount = 47;
constexpr double kLineBand = 0.0214;  // of the picture's height

// Line k is shown from (k - 1) × 0.0214 to k × 0.0214 of the height; line 0 wraps to the bottom.
constexpr const char* kLines[kLineCount] = {
    "AND ROUND IT GOES AGAIN",        // 0: the band just above the bottom edge
    "KELVANE",                        "A DEMO BY THE QUILL",        "FLOWERS IN THE HEAT",
    "EVERY PIXEL MADE HERE",          "EVERY NOTE PLAYED HERE",     "NO SAMPLES WERE HARMED",
    "THE CUBES ARE LISTENING",        "ORANGE IS A MOOD",           "RED IS A PROMISE",
    "HOLD ON TO THE BEAT",            "ONE TWO THREE FOUR",         "THE WALLS PULSE",
    "THE TILES BREATHE",              "WAVELETS ALL THE WAY DOWN",  "LOADED FROM TWENTY TWO FILES",
    "DRAWN IN IMMEDIATE MODE",        "TURN IT UP",                 "GREETINGS TO ALL CODERS",
    "GREETINGS TO ALL MUSICIANS",     "GREETINGS TO ALL PAINTERS",  "HELLO TO THE LATE NIGHT CREW",
    "THANKS FOR WATCHING",            "STILL WATCHING",             "THE FLOWER TURNS SLOWLY",
    "THE SIGNS KEEP RISING",          "DOWN THE TEXT BAR GOES",     "A NEW LINE ON EVERY BEAT",
    "FORTY SEVEN LINES IN ALL",       "NOTHING IS RANDOM HERE",     "EXCEPT THE SILHOUETTES",
    "BIRDS OVER THE FIELD",           "GRASS IN THE WIND",          "THORNS AND REEDS",
    "A SHORT SUMMER",                 "A LONG NIGHT",               "KEEP THE CUBES SPINNING",
    "FASTER NOW",                     "LOUDER NOW",                 "ALMOST THERE",
    "THE QUILL SAYS HI",              "WRITTEN FOR THE PARTY",      "MADE ON TWO CORES",
    "NO FRAME LEFT BEHIND",           "FADE TO ORANGE",             "KELVANE  THE END",
    "SEE YOU NEXT SUMMER"};

double LineMiddle(int line) {
  const double bandTop = line == 0 ? 1.0 - kLineBand : (line - 1) * kLineBand;
  return (bandTop + kLineBand / 2.0) * kLinePictureHeight;
}

}  // namespace

std::vector<NamedPicture> TextLinePictures(const PictureSources&) {
  Font font(FontPath(kCondensedBoldFace), 16);
  Mask text(kLineWidth, kLinePictureHeight);
  for (int line = 0; line < kLineCount; ++line)
    font.DrawCentred(text, kLines[line], kLineWidth / 2.0, LineMiddle(line) + font.CapHeight() / 2.0);
  // Two transform steps only: the decoder's smoothing of flat stretches then reaches less far into
  // the small letters, which keeps them crisper (about 41 dB instead of 37).
  return {{"data/text_vmb2.hwl", GreyOf(text), Detailed(2.0, 1)}};
}
