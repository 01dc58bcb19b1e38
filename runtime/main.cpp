// kelvane: the demo. Of its command line it answers only --help and --version and ignores the rest;
// everything else comes from the Config dialog, the script and the files in the working directory,
// or from the installed content when the working directory has no "script.dlx".
#include <cstdio>
#include <cstring>

#include "base/version.h"
#include "runtime/runtime.h"

namespace {

constexpr const char* kUsage =
    "Usage: kelvane [--help | --version]\n"
    "\n"
    "Kelvane, a real-time audiovisual demo: a Config dialog asks for the resolution, full screen,\n"
    "colour depth and music, then eight OpenGL scenes play in step with the music until it ends.\n"
    "Escape or closing the window ends it early.\n"
    "\n"
    "It reads script.dlx, the music it names and data/*.hwl from the working directory and writes\n"
    "debug.txt there, and error.txt when something fatal happens (exit code 1; a file that cannot be\n"
    "read ends it with the I/O error's code). Started where there is no script.dlx, it plays the\n"
    "installed content and writes debug.txt and error.txt into $XDG_STATE_HOME/kelvane\n"
    "(~/.local/state/kelvane when XDG_STATE_HOME is not set).\n"
    "\n"
    "  --help     this text\n"
    "  --version  the program's version\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--help") == 0) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("kelvane (Kelvane) %s\n", kKelvaneVersion);
    return 0;
  }
  UseInstalledContentWhenNoScript();
  return RunDemo();
}
