#include "texgen/internal/oplist.h"

#include <bit>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "base/diagnostics.h"
#include "texgen/internal/dispatch.h"

namespace {

std::uint32_t ReadU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void WriteU32(std::uint32_t v, std::uint8_t* p) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void DecodeList(const std::uint8_t* p, OpList& list) {
  list.count = static_cast<std::int32_t>(ReadU32(p));
  p += 4;
  for (std::int32_t& code : list.codes) {
    code = static_cast<std::int32_t>(ReadU32(p));
    p += 4;
  }
  for (OpParams& block : list.params) {
    for (float& value : block) {
      value = std::bit_cast<float>(ReadU32(p));
      p += 4;
    }
  }
}

void EncodeList(const OpList& list, std::uint8_t* p) {
  WriteU32(static_cast<std::uint32_t>(list.count), p);
  p += 4;
  for (std::int32_t code : list.codes) {
    WriteU32(static_cast<std::uint32_t>(code), p);
    p += 4;
  }
  for (const OpParams& block : list.params) {
    for (float value : block) {
      WriteU32(std::bit_cast<std::uint32_t>(value), p);
      p += 4;
    }
  }
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string OpenFailure(const std::string& path, int error, IoAccess access) {
  return IoErrorText(IoErrorCodeFromErrno(path, error, access), path);
}

}  // namespace

TexgenStatus DecodeProgram(const std::uint8_t* bytes, std::size_t size, TexgenProgram& program) {
  if (size < kProgramFileBytes) {
    return TexgenStatus::Fail("a program holds " + std::to_string(kProgramFileBytes) +
                              " bytes, found " + std::to_string(size));
  }
  for (int i = 0; i < kListCount; ++i) DecodeList(bytes + i * kListFileBytes, program[i]);
  return TexgenStatus::Ok();
}

std::vector<std::uint8_t> EncodeProgram(const TexgenProgram& program) {
  std::vector<std::uint8_t> bytes(kProgramFileBytes);
  for (int i = 0; i < kListCount; ++i) EncodeList(program[i], bytes.data() + i * kListFileBytes);
  return bytes;
}

TexgenStatus CheckListCount(int list, std::int32_t count) {
  if (count >= 0 && count <= kListSlots) return TexgenStatus::Ok();
  return TexgenStatus::Fail("list " + std::to_string(list) + ": count " + std::to_string(count) +
                            " is outside 0 to " + std::to_string(kListSlots));
}

TexgenStatus CheckListCounts(const TexgenProgram& program) {
  for (int i = 0; i < kListCount; ++i) {
    if (TexgenStatus s = CheckListCount(i, program[i].count); !s.ok()) return s;
  }
  return TexgenStatus::Ok();
}

std::string SlotName(int list, int slot) {
  return "list " + std::to_string(list) + ", slot " + std::to_string(slot);
}

TexgenStatus CheckProgram(const TexgenProgram& program) {
  for (int i = 0; i < kListCount; ++i) {
    const OpList& list = program[i];
    if (TexgenStatus s = CheckListCount(i, list.count); !s.ok()) return s;
    for (int slot = 0; slot < list.count; ++slot) {
      TexgenStatus s = CheckOpLayers(list.codes[slot], list.params[slot]);
      if (!s.ok()) return TexgenStatus::Fail(SlotName(i, slot) + ": " + s.error);
    }
  }
  return TexgenStatus::Ok();
}

TexgenStatus ReadProgramFile(const std::string& path, TexgenProgram& program) {
  errno = 0;
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) return TexgenStatus::Fail(OpenFailure(path, errno, IoAccess::Read));
  std::vector<std::uint8_t> bytes(kProgramFileBytes);
  const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
  if (got < bytes.size()) {
    return TexgenStatus::Fail(IoErrorText(IoErrorCode::ReadPastEnd, path) + " (" +
                              std::to_string(got) + " bytes; a program holds " +
                              std::to_string(kProgramFileBytes) + ")");
  }
  return DecodeProgram(bytes.data(), bytes.size(), program);
}

TexgenStatus WriteProgramFile(const std::string& path, const TexgenProgram& program) {
  const std::vector<std::uint8_t> bytes = EncodeProgram(program);
  errno = 0;
  File file(std::fopen(path.c_str(), "wb"));
  if (!file) return TexgenStatus::Fail(OpenFailure(path, errno, IoAccess::Write));
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  const bool closed = std::fclose(file.release()) == 0;
  if (!written || !closed) return TexgenStatus::Fail(IoErrorText(IoErrorCode::WriteFault, path));
  return TexgenStatus::Ok();
}
