// Operation lists and the 22020-byte program file.
//
// A program is five lists; each list holds up to 100 operations, an operation being a code and a
// block of ten single-precision parameters. The file stores the five lists one after the other,
// 4404 bytes each: the count, the 100 codes, then the 100 parameter blocks, all little-endian,
// without header or checksum. Slots beyond `count` are carried through unchanged.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "texgen/status.h"

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

using TexgenProgram = std::array<OpList, kListCount>;

// Reads the five lists from the first kProgramFileBytes of `bytes` (more is ignored, less refused).
// The counts are taken as they are; CheckProgram says whether they can run.
TexgenStatus DecodeProgram(const std::uint8_t* bytes, std::size_t size, TexgenProgram& program);
std::vector<std::uint8_t> EncodeProgram(const TexgenProgram& program);

// Everything a program needs to run safely: every count within 0 to 100 and, in the slots in
// use, every layer argument within 0 to 5. The message names the list and the slot.
TexgenStatus CheckProgram(const TexgenProgram& program);
TexgenStatus CheckListCount(int list, std::int32_t count);

TexgenStatus ReadProgramFile(const std::string& path, TexgenProgram& program);
TexgenStatus WriteProgramFile(const std::string& path, const TexgenProgram& program);
