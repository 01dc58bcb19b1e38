// Runs a fuzz target's body on files, the way libFuzzer replays a crash: every file named on the
// command line, or every file in a folder named there. A property that fails aborts the program, so
// the test fails; the sanitizer build also catches memory and undefined-behaviour faults.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

int ReplayFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", file.c_str());
    return 1;
  }
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::fprintf(stderr, "replaying %s (%zu bytes)\n", file.c_str(), bytes.size());
  // A copy of exactly the input's size, so that a read past its end is caught as libFuzzer would.
  std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
  LLVMFuzzerTestOneInput(data.empty() ? nullptr : data.data(), data.size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // The files are resolved before the target may change the working folder.
  std::vector<std::filesystem::path> files;
  for (int k = 1; k < argc; ++k) {
    const std::filesystem::path path = std::filesystem::absolute(argv[k]);
    if (std::filesystem::is_directory(path)) {
      for (const auto& entry : std::filesystem::directory_iterator(path)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
      }
    } else {
      files.push_back(path);
    }
  }
  if (files.empty()) {
    std::fprintf(stderr, "no inputs\n");
    return 1;
  }
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  int failures = 0;
  for (const auto& file : files) failures += ReplayFile(file);
  return failures == 0 ? 0 : 1;
}
