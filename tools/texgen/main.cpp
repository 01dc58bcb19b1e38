// texgen: runs texture-generator programs, shows them as text and builds them from text.
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "base/version.h"
#include "tools/texgen/commands.h"

namespace {

constexpr const char* kUsage =
    "usage: texgen run PROGRAM OUT.png [--size WxH]\n"
    "       texgen export PROGRAM\n"
    "       texgen compile SOURCE.txt PROGRAM\n"
    "       texgen COMMAND --help\n"
    "       texgen --help | --version\n";

constexpr const char* kRunHelp =
    "texgen run PROGRAM OUT.png [--size WxH]\n"
    "  Runs the 22020-byte program file PROGRAM and writes layer 4 as an RGB PNG.\n"
    "  --size WxH  picture size, powers of two from 2 to 4096 (default 256x256)\n";

constexpr const char* kExportHelp =
    "texgen export PROGRAM\n"
    "  Prints every operation of PROGRAM as a call, list by list (\"list N\" lines between).\n";

constexpr const char* kCompileHelp =
    "texgen compile SOURCE.txt PROGRAM\n"
    "  Reads calls in the form that export prints, one per line (\"list N\" switches lists,\n"
    "  \"#\" starts a comment), and writes the 22020-byte program file PROGRAM.\n";

bool WantsHelp(const std::vector<std::string>& args) {
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") return true;
  }
  return false;
}

int Usage(const char* problem) {
  std::cerr << "texgen: " << problem << "\n" << kUsage;
  return 2;
}

int Run(const std::vector<std::string>& args) {
  if (WantsHelp(args)) return (std::cout << kRunHelp, 0);
  PictureSize size;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--size") {
      if (i + 1 >= args.size()) return Usage("--size needs a value such as 512x512");
      if (!ParsePictureSize(args[++i], size)) return Usage("--size takes WxH, e.g. 512x512");
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 2) return Usage("run takes PROGRAM and OUT.png");
  return RunCommand(files[0], files[1], size);
}

int Export(const std::vector<std::string>& args) {
  if (WantsHelp(args)) return (std::cout << kExportHelp, 0);
  if (args.size() != 1) return Usage("export takes one PROGRAM");
  return ExportCommand(args[0]);
}

int Compile(const std::vector<std::string>& args) {
  if (WantsHelp(args)) return (std::cout << kCompileHelp, 0);
  if (args.size() != 2) return Usage("compile takes SOURCE.txt and PROGRAM");
  return CompileCommand(args[0], args[1]);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage("no command given");
  const std::string command = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);
  if (command == "--help" || command == "-h") return (std::cout << kUsage, 0);
  if (command == "--version") return (PrintVersion("texgen"), 0);
  if (command == "run") return Run(args);
  if (command == "export") return Export(args);
  if (command == "compile") return Compile(args);
  return Usage(("unknown command \"" + command + "\"").c_str());
}
