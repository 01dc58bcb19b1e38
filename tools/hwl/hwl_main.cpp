// hwl: encode, decode and inspect .hwl pictures.
#include <cstdio>
#include <string>

#include "base/version.h"
#include "tools/hwl/hwl_commands.h"

namespace {

const char* const kUsage =
    "usage: hwl <verb> [arguments]\n"
    "       hwl --help | --version\n"
    "\n"
    "  hwl encode IN.png|IN.ppm|IN.pgm OUT.hwl [--grey] [--levels N] [--fit pad|crop]\n"
    "             [--bits B | --bits B0,B1,B2] [--psnr DB | --threshold T]\n"
    "  hwl decode IN.hwl OUT.png|OUT.ppm|OUT.pgm\n"
    "  hwl info IN.hwl\n"
    "\n"
    "'hwl <verb> --help' describes each verb; 'hwl --version' prints the version.\n";

}  // namespace

int main(int argc, char** argv) {
  const Arguments all(argv + 1, argv + argc);
  if (all.empty()) {
    std::fprintf(stderr, "%s", kUsage);
    return kUsageExit;
  }
  const std::string& verb = all.front();
  const Arguments rest(all.begin() + 1, all.end());
  if (verb == "--help" || verb == "-h" || verb == "help") {
    std::printf("%s", kUsage);
    return 0;
  }
  if (verb == "--version") {
    PrintVersion("hwl");
    return 0;
  }
  if (verb == "encode") return RunEncode(rest);
  if (verb == "decode") return RunDecode(rest);
  if (verb == "info") return RunInfo(rest);
  std::fprintf(stderr, "hwl: unknown verb '%s'\n\n%s", verb.c_str(), kUsage);
  return kUsageExit;
}
