// The generator's entry points on whole lists and programs.
//
// Every entry point checks what it is given before it changes anything and returns a TexgenStatus
// whose message names the list and the slot: a list outside 0 to 4, a slot outside 0 to 99, a full
// list, a layer argument outside 0 to 5, a count outside 0 to 100, a layer size that is not a power
// of two.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "texgen/oplist.h"
#include "texgen/status.h"

// With `position` >= 0 replaces that slot and runs nothing. With a negative `position` appends:
// a generator (code below 10) restarts the list first; with `run` the operation runs at once.
TexgenStatus AddOp(int list, bool run, std::int32_t code, const OpParams& params, int position);
// Replaces a slot without running.
TexgenStatus SetOp(int list, int position, std::int32_t code, const OpParams& params);
// Drops the last operation; with `rerun` runs the rest again from slot 0, or, when none is left,
// blackens layer number `list`.
TexgenStatus RemoveLastOp(int list, bool rerun);

// Runs every list in order and converts layer 4 into 0x00RRGGBB pixels (bytes B, G, R, 0).
// With `allocate` the buffer is resized to width x height; without it, it must be that large.
// Nothing is run and `pixels` is untouched when the program or the size is refused.
TexgenStatus LoadAndRun(std::vector<std::uint32_t>& pixels, const std::string& fileName,
                        std::int32_t width, std::int32_t height, bool allocate);
// The same for a program already in memory (its first 22020 bytes).
TexgenStatus LoadAndRunBytes(std::vector<std::uint32_t>& pixels, const std::uint8_t* bytes,
                             std::size_t size, std::int32_t width, std::int32_t height,
                             bool allocate);
TexgenStatus RunProgram(std::vector<std::uint32_t>& pixels, const TexgenProgram& program,
                        std::int32_t width, std::int32_t height, bool allocate);
