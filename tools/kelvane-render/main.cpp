// kelvane-render: the demo rendered headless, frame-exactly, to PNG frames or a video with its music.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/version.h"
#include "runtime/runtime.h"
#include "tools/kelvane-render/render_arguments.h"
#include "tools/kelvane-render/render_job.h"

namespace {

constexpr int kUsageError = 2;

}  // namespace

int main(int argc, char** argv) {
  const ParsedArguments parsed = ParseRenderArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (parsed.arguments.help) {
    std::fputs(RenderUsage(), stdout);
    return 0;
  }
  if (parsed.arguments.version) {
    std::printf("kelvane-render (Kelvane) %s\n", kKelvaneVersion);
    return 0;
  }
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "kelvane-render: %s\n", parsed.error.c_str());
    return kUsageError;
  }
  RenderArguments arguments = parsed.arguments;
  // The default folder: "." when it holds the demo, else the installed content, if any.
  if (arguments.demoFolder == "." && !std::filesystem::exists("script.dlx")) {
    const std::string installed = InstalledDemoFolder();
    if (!installed.empty()) arguments.demoFolder = installed;
  }
  return RunRender(arguments);
}
