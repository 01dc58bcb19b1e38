#include "runtime/startup.h"

#include <cstdlib>
#include <memory>

#include "effects/overlay_fx.h"
#include "effects/shared_objects.h"
#include "images/texture.h"
#include "runtime/loading_screen.h"
#include "platform/window.h"
#include "scenes/scene_registry.h"
#include "sequencing/music.h"
#include "sequencing/music_state.h"
#include "sequencing/script_loader.h"
#include "sequencing/timeline.h"

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

}  // namespace

void StartDemo(const StartupSettings& settings, StartOptions options) {
  zenCreateWindow(kWindowCaption, settings.width, settings.height, settings.bits, settings.fullscreen);
  LoadingScreenInit();
  ShowProgress(0.1);
  CreateStartupParticleSystems();
  ShowProgress(0.2);
  CreateStartupLightsMaterialsCamera();
  ShowProgress(0.3);
  CreateDemoTextures();
  ShowProgress(0.4);
  ShowProgress(0.5);
  RegisterDemoScenes();
  timelineTable[1] = std::make_unique<Timeline>("Timeline1", kTimelineSize);
  LoadScript(kScriptFile);
  StartMusicIfNamed(settings, options);
  ShowProgress(1.0);
  InitPipeline(kRenderTextureSize);
  InitFX();
  EnableSpectrum();
}

void StartDemoOffscreen(std::int32_t width, std::int32_t height) {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  StartupSettings settings;
  settings.width = width;
  settings.height = height;
  settings.fullscreen = false;
  settings.music = false;
  StartDemo(settings, StartOptions{.startMusic = false});
}

void ShutDownDemo() {
  if (musicStarted) StopMusic();
  musicStarted = false;
  DestroyLoadingTexture();
  DestroyDemoTextures();
  DestroySharedEffectsObjects();
  UnregisterDemoScenes();
  timelineTable[1].reset();
  WindowClose();
}
