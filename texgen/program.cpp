#include "texgen/program.h"

#include "texgen/dispatch.h"
#include "texgen/layers.h"

namespace {

constexpr std::int32_t kFirstNonGenerator = 10;
constexpr int kOutputLayer = 4;

std::string Where(int list, int slot) {
  return "list " + std::to_string(list) + ", slot " + std::to_string(slot);
}

TexgenStatus CheckList(int list) {
  if (list >= 0 && list < kListCount) return TexgenStatus::Ok();
  return TexgenStatus::Fail("list " + std::to_string(list) + " is outside 0 to 4");
}

TexgenStatus CheckSlotOp(int list, int slot, std::int32_t code, const OpParams& params) {
  if (slot >= kListSlots) {
    return TexgenStatus::Fail(Where(list, slot) + ": slots are 0 to " +
                              std::to_string(kListSlots - 1));
  }
  if (TexgenStatus s = CheckOpLayers(code, params); !s.ok()) {
    return TexgenStatus::Fail(Where(list, slot) + ": " + s.error);
  }
  return TexgenStatus::Ok();
}

TexgenStatus Located(int list, int slot, TexgenStatus s) {
  if (s.ok()) return s;
  return TexgenStatus::Fail(Where(list, slot) + ": " + s.error);
}

void Store(OpList& list, int slot, std::int32_t code, const OpParams& params) {
  list.codes[slot] = code;
  list.params[slot] = params;
}

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

TexgenStatus AddOp(int list, bool run, std::int32_t code, const OpParams& params, int position) {
  if (TexgenStatus s = CheckList(list); !s.ok()) return s;
  if (!LayersReady()) return TexgenStatus::Fail("the layers are not allocated (InitLayers first)");
  OpList& ops = generatorState.lists[list];
  if (position >= 0) {
    if (TexgenStatus s = CheckSlotOp(list, position, code, params); !s.ok()) return s;
    Store(ops, position, code, params);
    return TexgenStatus::Ok();
  }
  const int slot = code < kFirstNonGenerator ? 0 : ops.count;
  if (slot >= kListSlots) {
    return TexgenStatus::Fail("list " + std::to_string(list) + " is full (" +
                              std::to_string(kListSlots) + " operations)");
  }
  if (TexgenStatus s = CheckSlotOp(list, slot, code, params); !s.ok()) return s;
  Store(ops, slot, code, params);
  ops.count = slot + 1;
  return run ? Located(list, slot, RunOp(code, params)) : TexgenStatus::Ok();
}

TexgenStatus SetOp(int list, int position, std::int32_t code, const OpParams& params) {
  if (TexgenStatus s = CheckList(list); !s.ok()) return s;
  if (position < 0) {
    return TexgenStatus::Fail(Where(list, position) + ": slots are 0 to " +
                              std::to_string(kListSlots - 1));
  }
  return AddOp(list, false, code, params, position);
}

TexgenStatus RemoveLastOp(int list, bool rerun) {
  if (TexgenStatus s = CheckList(list); !s.ok()) return s;
  if (!LayersReady()) return TexgenStatus::Fail("the layers are not allocated (InitLayers first)");
  OpList& ops = generatorState.lists[list];
  if (TexgenStatus s = CheckListCount(list, ops.count); !s.ok()) return s;
  if (ops.count > 0) --ops.count;
  if (!rerun) return TexgenStatus::Ok();
  if (ops.count < 1) return RunOp(4, OpParams{static_cast<float>(list), 0, 0, 0});
  for (int slot = 0; slot < ops.count; ++slot) {
    if (TexgenStatus s = Located(list, slot, RunOp(ops.codes[slot], ops.params[slot])); !s.ok())
      return s;
  }
  return TexgenStatus::Ok();
}

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
    const OpList& ops = generatorState.lists[list];
    for (int slot = 0; slot < ops.count; ++slot) {
      TexgenStatus s = Located(list, slot, RunOp(ops.codes[slot], ops.params[slot]));
      if (!s.ok()) {
        FreeLayers();
        return s;
      }
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
