// The list editor: operations appended, replaced and removed one at a time on the layers that
// InitLayers allocated, as an interactive editor drives the generator.
//
// Every entry point checks what it is given before it changes anything and returns a TexgenStatus
// whose message names the list and the slot: a list outside 0 to 4, a slot outside 0 to 99, a full
// list, a layer argument outside 0 to 5, a count outside 0 to 100, layers not allocated.
#pragma once

#include <cstdint>

#include "texgen/texgen.h"

// With `position` >= 0 replaces that slot and runs nothing. With a negative `position` appends:
// a generator (code below 10) restarts the list first; with `run` the operation runs at once.
TexgenStatus AddOp(int list, bool run, std::int32_t code, const OpParams& params, int position);
// Replaces a slot without running.
TexgenStatus SetOp(int list, int position, std::int32_t code, const OpParams& params);
// Drops the last operation; with `rerun` runs the rest again from slot 0, or, when none is left,
// blackens layer number `list`.
TexgenStatus RemoveLastOp(int list, bool rerun);
