#include "tools/texgen/commands.h"

#include <charconv>
#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

#include "texgen/texgen.h"
#include "tools/common/png_io.h"

namespace {

int Fail(const std::string& message) {
  std::cerr << "texgen: " << message << "\n";
  return 1;
}

bool ParsePositive(std::string_view text, std::int32_t& value) {
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  return r.ec == std::errc() && r.ptr == text.data() + text.size() && value > 0;
}

Picture ToPicture(const std::vector<std::uint32_t>& pixels, PictureSize size) {
  Picture picture;
  picture.width = size.width;
  picture.height = size.height;
  picture.channels = 3;
  picture.pixels.resize(pixels.size() * 3);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    picture.pixels[3 * i + 0] = static_cast<std::uint8_t>(pixels[i] >> 16);
    picture.pixels[3 * i + 1] = static_cast<std::uint8_t>(pixels[i] >> 8);
    picture.pixels[3 * i + 2] = static_cast<std::uint8_t>(pixels[i]);
  }
  return picture;
}

bool ReadText(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream content;
  content << in.rdbuf();
  text = content.str();
  return !in.bad();
}

}  // namespace

bool ParsePictureSize(const std::string& text, PictureSize& size) {
  const std::size_t x = text.find('x');
  if (x == std::string::npos) return false;
  const std::string_view all(text);
  return ParsePositive(all.substr(0, x), size.width) &&
         ParsePositive(all.substr(x + 1), size.height);
}

int RunCommand(const std::string& program, const std::string& png, PictureSize size) {
  std::vector<std::uint32_t> pixels;
  if (TexgenStatus s = LoadAndRun(pixels, program, size.width, size.height, true); !s.ok()) {
    return Fail(s.error);
  }
  std::string error;
  if (!WritePng(png, ToPicture(pixels, size), error)) return Fail(error);
  return 0;
}

int ExportCommand(const std::string& program) {
  TexgenProgram lists;
  if (TexgenStatus s = ReadProgramFile(program, lists); !s.ok()) return Fail(s.error);
  if (TexgenStatus s = CheckListCounts(lists); !s.ok()) return Fail(program + ": " + s.error);
  std::cout << ExportProgram(lists);
  return std::cout.good() ? 0 : Fail("cannot write to standard output");
}

int CompileCommand(const std::string& source, const std::string& program) {
  std::string text;
  if (!ReadText(source, text)) return Fail(source + ": cannot be read");
  TexgenProgram lists;
  const TexgenCompileResult result = CompileProgramText(text, lists);
  if (!result.ok) return Fail(source + ":" + std::to_string(result.line) + ": " + result.message);
  if (TexgenStatus s = WriteProgramFile(program, lists); !s.ok()) return Fail(s.error);
  return 0;
}
