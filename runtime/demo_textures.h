// The demo's 21 textures, created at start-up in table order and known to the scenes by file name.
//
// A colour picture whose alpha lives in a companion file is built right after that companion: the
// colour texture gets alpha 255, then the companion's blue channel as alpha, and is uploaded again.
// Two pictures take their alpha from their own blue channel. The rest are plain; the alpha
// companions stay alive as textures of their own.
#pragma once

#include <array>
#include <string_view>

struct zenTexture;

enum class TextureAlpha {
  None,           // uploaded as loaded
  OwnBlue,        // alpha := its own blue channel
  PreviousBlue,   // alpha := the blue channel of the row just before (its "_alpha" companion)
  IsAlphaSource,  // the companion itself: loaded as it is
};

struct TextureTableRow {
  const char* file;
  int components;
  bool mipmapped;
  TextureAlpha alpha;
};

inline constexpr int kDemoTextureCount = 21;

inline constexpr std::array<TextureTableRow, kDemoTextureCount> kTextureTable = {{
    {"data/flower1.hwl", 4, true, TextureAlpha::OwnBlue},
    {"data/background_reddir_alpha.hwl", 3, true, TextureAlpha::IsAlphaSource},
    {"data/background_reddir.hwl", 4, true, TextureAlpha::PreviousBlue},
    {"data/overlay1_alpha.hwl", 3, true, TextureAlpha::IsAlphaSource},
    {"data/overlay1.hwl", 4, true, TextureAlpha::PreviousBlue},
    {"data/overlay2_alpha.hwl", 3, true, TextureAlpha::IsAlphaSource},
    {"data/overlay2.hwl", 4, true, TextureAlpha::PreviousBlue},
    {"data/overlay3_alpha.hwl", 3, true, TextureAlpha::IsAlphaSource},
    {"data/overlay3.hwl", 4, true, TextureAlpha::PreviousBlue},
    {"data/overlay4_alpha.hwl", 3, true, TextureAlpha::IsAlphaSource},
    {"data/overlay4.hwl", 4, true, TextureAlpha::PreviousBlue},
    {"data/overlay5_alpha.hwl", 3, true, TextureAlpha::IsAlphaSource},
    {"data/overlay5.hwl", 4, true, TextureAlpha::PreviousBlue},
    {"data/overlay6_alpha.hwl", 3, true, TextureAlpha::IsAlphaSource},
    {"data/overlay6.hwl", 4, true, TextureAlpha::PreviousBlue},
    {"data/birdie_alpha.hwl", 3, true, TextureAlpha::IsAlphaSource},
    {"data/birdie.hwl", 4, true, TextureAlpha::PreviousBlue},
    {"data/text_vmb1.hwl", 4, true, TextureAlpha::OwnBlue},
    {"data/text_vmb2.hwl", 3, false, TextureAlpha::None},
    {"data/signoverlay.hwl", 3, false, TextureAlpha::None},
    {"data/credits.hwl", 3, false, TextureAlpha::None},
}};

// Creates the 21 textures in table order with their alpha merges.
void CreateDemoTextures();
// Destroys them in table order.
void DestroyDemoTextures();

// The texture made from `file` (one of the table's names, e.g. "data/flower1.hwl"). Asking for a
// name that is not in the table, or before CreateDemoTextures, is a programming error: it ends the
// program with a fatal error from "zenTexture" naming the file.
zenTexture& DemoTexture(std::string_view file);
