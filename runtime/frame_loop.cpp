#include "runtime/runtime.h"

#include <algorithm>

#include "effects/effects.h"
#include "platform/window.h"
#include "sequencing/music.h"
#include "sequencing/sequencing.h"

void DrawFrameAtMusicTime() {
  RunFrameSlots();
  CaptureFrame();
}

void DrawFrameAt(std::int32_t time, const float* frameSpectrum) {
  BeginFrame();
  musicTime = time;
  if (frameSpectrum) std::copy(frameSpectrum, frameSpectrum + kSpectrumValues, spectrum);
  else std::fill(spectrum, spectrum + kSpectrumValues, 0.0f);
  DrawFrameAtMusicTime();
}

void FinishFrameAtMusicTime() {
  PresentFrame();
  RunDoneSlots();
}

std::int64_t RunFrameLoop(std::int64_t frameLimit) {
  std::int64_t frames = 0;
  do {
    PumpOneMessage();
    BeginFrame();
    musicTime = GetMusicTime();
    ReadSpectrum(spectrum);
    DrawFrameAtMusicTime();
    FinishFrameAtMusicTime();
    ++frames;
  } while (frames < frameLimit && FrameLoopContinues(zenWindow.active, musicTime, musicLength));
  return frames;
}
