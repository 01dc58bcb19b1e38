// A frame-exact harness for scenes: the real start-up, headless, with the real content, then single
// frames at chosen music times, read back as pixels.
//
// HarnessStart runs the demo's start-up (window on the offscreen driver, loading screen, engine
// objects, the 21 textures, the scenes, "Timeline1", "script.dlx", render pipeline) in the demo
// folder `demoFolder` (holding "script.dlx", "data/" and the music), with music off and without the
// Config dialog. The music is not started: each frame's time and spectrum come from the caller.
//
// HarnessFrame runs the frame steps of the live loop for `time` (BeginFrame, the timeline's init and
// render slots, CaptureFrame, then the done slots), with `spectrum` (512 values; null for zeros),
// and returns the finished picture as RGBA bytes, rows bottom first (as glReadPixels gives them),
// width * height * 4 bytes. It reads the picture before the buffer swap.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct HarnessPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;  // rows bottom first

  // The pixel at (x, y) with y counted from the top of the screen.
  const std::uint8_t* At(int x, int yFromTop) const {
    return rgba.data() + (std::size_t(height - 1 - yFromTop) * width + x) * 4;
  }
};

void HarnessStart(const std::string& demoFolder, int width = 640, int height = 480);
HarnessPicture HarnessFrame(std::int32_t time, const float* spectrum = nullptr);
void HarnessStop();
