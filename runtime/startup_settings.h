// What the viewer chose in the Config dialog; filled with the defaults before it opens.
#pragma once

#include <cstdint>

struct StartupSettings {
  std::int32_t width = 640;
  std::int32_t height = 480;
  std::int32_t bits = 32;  // 32 or 16
  bool fullscreen = true;
  bool music = true;  // play the music audibly
};
