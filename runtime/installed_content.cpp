#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/diagnostics.h"
#include "runtime/internal/install_paths.h"
#include "runtime/runtime.h"

namespace {

namespace fs = std::filesystem;

bool HoldsScript(const fs::path& folder) {
  std::error_code error;
  return fs::is_regular_file(folder / kScriptFile, error);
}

fs::path ProgramFolder() {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : program.parent_path();
}

// $XDG_STATE_HOME/kelvane, or ~/.local/state/kelvane (a relative XDG_STATE_HOME is ignored, as the
// XDG base directory rules say).
fs::path StateFolder() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state && fs::path(state).is_absolute()) return fs::path(state) / "kelvane";
  const char* home = std::getenv("HOME");
  return fs::path(home ? home : "") / ".local" / "state" / "kelvane";
}

}  // namespace

std::string InstalledDemoFolder() {
  const fs::path programs = ProgramFolder();
  if (!programs.empty() && HoldsScript(programs / kDemoFolderFromPrograms))
    return fs::weakly_canonical(programs / kDemoFolderFromPrograms).string();
  return HoldsScript(kConfiguredDemoFolder) ? kConfiguredDemoFolder : "";
}

void UseInstalledContentWhenNoScript() {
  if (HoldsScript(".")) return;
  const std::string content = InstalledDemoFolder();
  if (content.empty()) return;
  const std::string state = fs::absolute(StateFolder()).string();
  std::error_code error;
  fs::create_directories(state, error);
  if (error) IoErrorFromErrno(state, error.value(), IoAccess::Write);
  if (chdir(content.c_str()) != 0) IoErrorFromErrno(content, errno, IoAccess::Read);
  SetReportFolder(state);
  std::fprintf(stderr, "kelvane: no %s here: playing %s, %s and %s go to %s\n", kScriptFile, content.c_str(),
               kDebugLogFile, kErrorReportFile, state.c_str());
}
