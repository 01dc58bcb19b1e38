// Drives the debug log and the fatal error report from the command line so that tests can check the
// files and the exit code a real process leaves. Actions run in order:
//   log TEXT N      DebugLog(TEXT, N)
//   logc TEXT N     DebugLogCString(TEXT, N)
//   window          opens a small window with its context (headless on the offscreen driver)
//   frames N        runs N frames of clear and swap
//   fatal MOD MSG   FatalError(MOD, MSG)
//   ioerror FILE    reads FILE through InputFile (fails if it is missing)
#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/diagnostics.h"
#include "platform/window.h"

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string action = argv[i];
    auto next = [&]() -> const char* { return i + 1 < argc ? argv[++i] : ""; };
    if (action == "log") {
      const char* text = next();
      DebugLog(text, std::atoi(next()));
    } else if (action == "logc") {
      const char* text = next();
      DebugLogCString(text, std::atoi(next()));
    } else if (action == "window") {
      zenCreateWindow("Glimmer", 64, 48, 32, false);
    } else if (action == "frames") {
      for (int n = std::atoi(next()); n > 0; --n) {
        PumpOneMessage();
        glClear(GL_COLOR_BUFFER_BIT);
        SwapWindowBuffers();
      }
    } else if (action == "fatal") {
      const char* module = next();
      FatalError(module, next());
    } else if (action == "ioerror") {
      InputFile file(next());
      char byte;
      file.Read(&byte, 1);
    } else {
      std::fprintf(stderr, "diag_probe: unknown action %s\n", action.c_str());
      return 64;
    }
  }
  std::puts("END");
  return 0;
}
