// Drives the debug log and the fatal error report from the command line, so that tests can check the
// files and the exit code a real process leaves. Actions run in order: "log TEXT N" (DebugLog), "logc
// TEXT N" (DebugLogCString), "window" (a small window with its context, headless on the offscreen
// driver), "frames N" (N frames of clear and swap), "fatal MODULE MESSAGE" (FatalError) and "ioerror
// FILE" (reads FILE through InputFile).
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
    if (action == "window") {
      zenCreateWindow("Glimmer", 64, 48, 32, false);
      continue;
    }
    const char* first = next();
    if (action == "log") DebugLog(first, std::atoi(next()));
    else if (action == "logc") DebugLogCString(first, std::atoi(next()));
    else if (action == "fatal") FatalError(first, next());
    else if (action == "ioerror") {
      char byte;
      InputFile(first).Read(&byte, 1);
    } else if (action == "frames") {
      for (int n = std::atoi(first); n > 0; --n) {
        PumpOneMessage();
        glClear(GL_COLOR_BUFFER_BIT);
        SwapWindowBuffers();
      }
    } else {
      std::fprintf(stderr, "diag_probe: unknown action %s\n", action.c_str());
      return 64;
    }
  }
  std::puts("END");
  return 0;
}
