// The demo's 22 pictures, the one list of them: the loading screen's picture, then the 21 textures
// of the start-up's texture table, in the order the start-up creates them. The texture loading, the
// loading screen, the content build and the tests all take the files from here.
//
// `components` is the texture's internal format as a component count (3 or 4), `mipmapped` whether
// it is uploaded with a full mipmap chain. `alpha` says where a colour texture's alpha channel comes
// from: nowhere, its own blue channel, or the blue channel of the picture right before it (its
// "_alpha" companion, which stays a texture of its own).
//
// assets/CMakeLists.txt reads the file names from the entry lines, so each entry keeps to one line
// of exactly this form: four spaces, {"data/<name>.hwl", then the other fields.
#pragma once

#include <cstdint>
#include <span>

enum class AlphaFrom { None, OwnBlue, PreviousPicture };

struct DemoPicture {
  const char* file;
  std::int32_t components;
  bool mipmapped;
  AlphaFrom alpha;
};

inline constexpr DemoPicture kDemoPictures[] = {
    {"data/loading.hwl", 3, false, AlphaFrom::None},
    {"data/flower1.hwl", 4, true, AlphaFrom::OwnBlue},
    {"data/background_reddir_alpha.hwl", 3, true, AlphaFrom::None},
    {"data/background_reddir.hwl", 4, true, AlphaFrom::PreviousPicture},
    {"data/overlay1_alpha.hwl", 3, true, AlphaFrom::None},
    {"data/overlay1.hwl", 4, true, AlphaFrom::PreviousPicture},
    {"data/overlay2_alpha.hwl", 3, true, AlphaFrom::None},
    {"data/overlay2.hwl", 4, true, AlphaFrom::PreviousPicture},
    {"data/overlay3_alpha.hwl", 3, true, AlphaFrom::None},
    {"data/overlay3.hwl", 4, true, AlphaFrom::PreviousPicture},
    {"data/overlay4_alpha.hwl", 3, true, AlphaFrom::None},
    {"data/overlay4.hwl", 4, true, AlphaFrom::PreviousPicture},
    {"data/overlay5_alpha.hwl", 3, true, AlphaFrom::None},
    {"data/overlay5.hwl", 4, true, AlphaFrom::PreviousPicture},
    {"data/overlay6_alpha.hwl", 3, true, AlphaFrom::None},
    {"data/overlay6.hwl", 4, true, AlphaFrom::PreviousPicture},
    {"data/birdie_alpha.hwl", 3, true, AlphaFrom::None},
    {"data/birdie.hwl", 4, true, AlphaFrom::PreviousPicture},
    {"data/text_vmb1.hwl", 4, true, AlphaFrom::OwnBlue},
    {"data/text_vmb2.hwl", 3, false, AlphaFrom::None},
    {"data/signoverlay.hwl", 3, false, AlphaFrom::None},
    {"data/credits.hwl", 3, false, AlphaFrom::None},
};

// The loading screen's picture ("data/loading.hwl"), and the 21 textures in creation order.
inline constexpr const DemoPicture& kLoadingPicture = kDemoPictures[0];
inline constexpr std::span<const DemoPicture, 21> kDemoTextures = std::span(kDemoPictures).subspan<1>();
