#include "tools/make-pictures/texgen_source.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "texgen/texgen.h"

namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

Canvas RunTexgenProgram(const std::string& path, int width, int height) {
  TexgenProgram program{};
  const TexgenCompileResult compiled = CompileProgramText(ReadText(path), program);
  if (!compiled.ok)
    throw std::runtime_error(path + ":" + std::to_string(compiled.line) + ": " + compiled.message);
  std::vector<std::uint32_t> pixels;
  const TexgenStatus run = RunProgram(pixels, program, width, height, true);
  if (!run.ok()) throw std::runtime_error(path + ": " + run.error);
  Canvas canvas(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
      canvas.Set(x, y, {static_cast<double>(p >> 16 & 255), static_cast<double>(p >> 8 & 255),
                        static_cast<double>(p & 255)});
    }
  return canvas;
}
