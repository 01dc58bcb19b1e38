// kelvane-live: the demo in a window with a transport, a HUD and reloading, for the people who make it.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/version.h"
#include "runtime/runtime.h"
#include "tools/kelvane-live/live_arguments.h"
#include "tools/kelvane-live/live_session.h"

int main(int argc, char** argv) {
  const ParsedLiveArguments parsed = ParseLiveArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (parsed.arguments.help) {
    std::fputs(LiveUsage(), stdout);
    return 0;
  }
  if (parsed.arguments.version) {
    std::printf("kelvane-live (Kelvane) %s\n", kKelvaneVersion);
    return 0;
  }
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "kelvane-live: %s\n", parsed.error.c_str());
    return 2;
  }
  LiveArguments arguments = parsed.arguments;
  // The default folder: "." when it holds the demo, else the installed content, if any.
  if (arguments.demoFolder == "." && !std::filesystem::exists("script.dlx")) {
    const std::string installed = InstalledDemoFolder();
    if (!installed.empty()) arguments.demoFolder = installed;
  }
  return RunLiveSession(arguments);
}
