#include "runtime/frame_loop.h"

#include <GL/gl.h>

#include "runtime/window.h"

namespace {

// The music clock joins here with the sequencing stage; until a script names music the time stays 0
// and the length 0, which ends the loop after its first frame.
std::int32_t CurrentMusicTime() { return 0; }
std::int32_t MusicLength() { return 0; }

void BeginFrame() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }
void PresentFrame() { SwapWindowBuffers(); }

}  // namespace

std::int64_t RunFrameLoop() {
  std::int64_t frames = 0;
  std::int32_t musicTime = 0;
  do {
    PumpOneMessage();
    BeginFrame();
    musicTime = CurrentMusicTime();
    PresentFrame();
    ++frames;
  } while (FrameLoopContinues(zenWindow.active, musicTime, MusicLength()));
  return frames;
}
