// The red picture plane of the opening scene and its alpha, both from the texture generator.
#include "tools/make-pictures/picture_set.h"
#include "tools/make-pictures/texgen_source.h"

namespace {
constexpr int kSize = 256;
}

std::vector<NamedPicture> BackgroundPictures(const PictureSources& sources) {
  Canvas colour = RunTexgenProgram(sources.Texgen("reddir.tg"), kSize, kSize);
  Canvas alpha = RunTexgenProgram(sources.Texgen("reddir_alpha.tg"), kSize, kSize);
  // The alpha picture is read through its blue channel only; keep it grey so it looks like what it does.
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const double v = alpha.Get(x, y).b;
      alpha.Set(x, y, {v, v, v});
    }
  return {{"data/background_reddir_alpha.hwl", alpha, Detailed(1.5)},
          {"data/background_reddir.hwl", colour, Detailed(1.5)}};
}
