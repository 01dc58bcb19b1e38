#include "tools/common/program_beside.h"

#include <filesystem>

namespace fs = std::filesystem;

std::string ProgramBeside(const std::string& name) {
  std::error_code error;
  const fs::path here = fs::read_symlink("/proc/self/exe", error).parent_path();
  for (const fs::path& candidate : {here / ".." / name / name, here / name}) {
    if (!error && fs::is_regular_file(candidate, error)) return candidate.lexically_normal().string();
  }
  return name;
}
