// Operation lists and their file: decoding, and the checks a program must pass before it runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "texgen/texgen.h"

static_assert(kListFileBytes == 4404 && kProgramFileBytes == 22020);

// Reads the five lists from the first kProgramFileBytes of `bytes` (more is ignored, less refused).
// The counts are taken as they are; CheckProgram says whether they can run.
TexgenStatus DecodeProgram(const std::uint8_t* bytes, std::size_t size, TexgenProgram& program);

// Everything a program needs to run safely: every count within 0 to 100 and, in the slots in
// use, every layer argument within 0 to 5. The message names the list and the slot.
TexgenStatus CheckProgram(const TexgenProgram& program);
TexgenStatus CheckListCount(int list, std::int32_t count);

// "list 2, slot 5": where a refusal happened.
std::string SlotName(int list, int slot);
