// Operation lists and the 22020-byte program file.
//
// A program is five lists; each list holds up to 100 operations, an operation being a code and a
// block of ten single-precision parameters. The file stores the five lists one after the other,
// 4404 bytes each: the count, the 100 codes, then the 100 parameter blocks, all little-endian,
// without header or checksum. Slots beyond `count` are carried through unchanged.
#pragma once

#include "texgen/status.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr int kListCount = 5;
inline constexpr int kListSlots = 100;
inline constexpr int kParamCount = 10;
inline constexpr std::size_t kListFileBytes = 4 + kListSlots * 4 + kListSlots * kParamCount * 4;
inline constexpr std::size_t kProgramFileBytes = kListCount * kListFileBytes;
static_assert(kListFileBytes == 4404 && kProgramFileBytes == 22020);

using OpParams = std::array<float, kParamCount>;

struct OpList {
  std::int32_t count = 0;
  std::array<std::int32_t, kListSlots> codes{};
  std::array<OpParams, kListSlots> params{};
};

using Program = std::array<OpList, kListCount>;

// Reads the five lists from the first kProgramFileBytes of `bytes` (more is ignored, less refused).
// The counts are taken as they are; CheckProgram says whether they can run.
Status DecodeProgram(const std::uint8_t* bytes, std::size_t size, Program& program);
std::vector<std::uint8_t> EncodeProgram(const Program& program);

// Everything a program needs to run safely: every count within 0 to 100 and, in the slots in
// use, every layer argument within 0 to 5. The message names the list and the slot.
Status CheckProgram(const Program& program);
Status CheckListCount(int list, std::int32_t count);

Status ReadProgramFile(const std::string& path, Program& program);
Status WriteProgramFile(const std::string& path, const Program& program);
