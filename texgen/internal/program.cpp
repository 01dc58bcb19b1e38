#include "texgen/internal/dispatch.h"
#include "texgen/internal/layers.h"
#include "texgen/internal/oplist.h"
#include "texgen/texgen.h"

namespace {

constexpr int kOutputLayer = 4;

void WritePixels(std::vector<std::uint32_t>& pixels) {
  const std::uint8_t* layer = LayerData(kOutputLayer);
  const std::size_t count = LayerBytes() / kChannels;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* p = layer + i * kChannels;
    pixels[i] =
        static_cast<std::uint32_t>(p[0]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[2];
  }
}

}  // namespace

TexgenStatus RunProgram(std::vector<std::uint32_t>& pixels, const TexgenProgram& program,
                        std::int32_t width, std::int32_t height, bool allocate) {
  if (std::string problem = CheckLayerSize(width, height); !problem.empty()) {
    return TexgenStatus::Fail("layer size refused: " + problem);
  }
  if (TexgenStatus s = CheckProgram(program); !s.ok()) return s;
  const std::size_t count = static_cast<std::size_t>(width) * height;
  if (allocate) pixels.assign(count, 0);
  if (pixels.size() < count) {
    return TexgenStatus::Fail("the pixel buffer holds " + std::to_string(pixels.size()) +
                              " pixels, the picture needs " + std::to_string(count));
  }
  if (TexgenStatus s = InitLayers(width, height); !s.ok()) return s;
  generatorState.lists = program;
  for (int list = 0; list < kListCount; ++list) {
    if (TexgenStatus s = RunList(list, generatorState.lists[list].count); !s.ok()) {
      FreeLayers();
      return s;
    }
  }
  WritePixels(pixels);
  FreeLayers();
  return TexgenStatus::Ok();
}

TexgenStatus LoadAndRunBytes(std::vector<std::uint32_t>& pixels, const std::uint8_t* bytes,
                             std::size_t size, std::int32_t width, std::int32_t height,
                             bool allocate) {
  TexgenProgram program;
  if (TexgenStatus s = DecodeProgram(bytes, size, program); !s.ok()) return s;
  return RunProgram(pixels, program, width, height, allocate);
}

TexgenStatus LoadAndRun(std::vector<std::uint32_t>& pixels, const std::string& fileName,
                        std::int32_t width, std::int32_t height, bool allocate) {
  TexgenProgram program;
  if (TexgenStatus s = ReadProgramFile(fileName, program); !s.ok()) return s;
  TexgenStatus s = RunProgram(pixels, program, width, height, allocate);
  if (!s.ok()) s.error = fileName + ": " + s.error;
  return s;
}
