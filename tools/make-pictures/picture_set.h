// The demo's 22 pictures: what each file holds and how it is encoded.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "images/hwl.h"
#include "tools/make-pictures/canvas.h"

struct NamedPicture {
  std::string file;  // relative to the demo folder, e.g. "data/flower1.hwl"
  Canvas picture;
  HwlEncodeOptions options;
};

// Where the sources live: the assets folder (texgen programs).
struct PictureSources {
  std::string assets;
  std::string Texgen(const std::string& name) const { return assets + "/textures/" + name; }
};

// Each group builds one picture or a colour picture with its "_alpha" companion.
std::vector<NamedPicture> FlowerPictures(const PictureSources& sources);
std::vector<NamedPicture> BackgroundPictures(const PictureSources& sources);
std::vector<NamedPicture> OverlayPictures(const PictureSources& sources);
std::vector<NamedPicture> BirdPictures(const PictureSources& sources);
std::vector<NamedPicture> WaveTextPictures(const PictureSources& sources);
std::vector<NamedPicture> TextLinePictures(const PictureSources& sources);
std::vector<NamedPicture> SignPictures(const PictureSources& sources);
std::vector<NamedPicture> CreditsPictures(const PictureSources& sources);
std::vector<NamedPicture> LoadingPictures(const PictureSources& sources);

// Options for a picture that must stay close to its source: full 8-bit values, small details cut,
// and the transform's depth (lastLevel) when it is not the deepest the size allows.
HwlEncodeOptions Detailed(double threshold = 1.0, std::optional<int> lastLevel = {});
