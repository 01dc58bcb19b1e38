#include <cstdlib>
#include <memory>

#include "base/diagnostics.h"
#include "effects/effects.h"
#include "images/texture.h"
#include "platform/window.h"
#include "runtime/internal/lasting_state.h"
#include "runtime/internal/loading_screen.h"
#include "runtime/runtime.h"
#include "scenes/scenes.h"
#include "sequencing/music.h"
#include "sequencing/sequencing.h"

namespace {

bool musicStarted = false;

void StartMusicIfNamed(const StartupSettings& settings, const StartOptions& options) {
  // Whatever the script's module state said, the viewer's choice decides whether it is heard.
  musicOn = settings.music;
  if (musicFile && options.startMusic) {
    StartMusic(musicOn);
    musicStarted = true;
  }
}

void CreateDemoTimeline() {
  if (MaybeFailure failure = MakeTimeline("Timeline1", kTimelineSize, timelineTable[kDemoTimelineSlot]))
    ReportFailure(*failure);
}

}  // namespace

void StartDemo(const StartupSettings& settings, StartOptions options) {
  zenCreateWindow(options.caption, settings.width, settings.height, settings.bits, settings.fullscreen);
  LoadingScreenInit();
  ShowProgress(0.1);
  CreateStartupParticleSystems();
  ShowProgress(0.2);
  CreateStartupLightsMaterialsCamera();
  ShowProgress(0.3);
  CreateDemoTextures();
  // Both screens are drawn, one right after the other: the loading screen steps through its whole
  // scale (0.1 to 0.5, then 1.0) even where no work lies between two steps.
  ShowProgress(0.4);
  ShowProgress(0.5);
  RegisterDemoScenes();
  CreateDemoTimeline();
  LoadScript(kScriptFile);
  StartMusicIfNamed(settings, options);
  ShowProgress(1.0);
  InitPipeline(kRenderTextureSize);
  InitFX();
  EnableSpectrum();
  if (options.seekable) RememberStartState();
}

void StartDemoOffscreen(std::int32_t width, std::int32_t height) {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  StartupSettings settings;
  settings.width = width;
  settings.height = height;
  settings.fullscreen = false;
  settings.music = false;
  StartDemo(settings, StartOptions{.startMusic = false, .seekable = true});
}

void ShutDownDemo() {
  ForgetStartState();
  if (musicStarted) StopMusic();
  musicStarted = false;
  DestroyLoadingTexture();
  DestroyDemoTextures();
  DestroySharedEffectsObjects();
  UnregisterDemoScenes();
  timelineTable[kDemoTimelineSlot].reset();
  WindowClose();
}
