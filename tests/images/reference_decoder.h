// A slow decoder written straight from the format's description: whole planes per stage, fresh
// scratch planes for every transform step, columns walked as columns, every product in extended
// precision. The engine's decoder reorders loops and shares buffers; both must give the same bytes.
#pragma once

#include "tests/images/codec_test_support.h"

// Pixels of a well-formed 8- or 24-bit file, as LoadImageFile lays them out.
Bytes ReferenceDecode(const Bytes& file);
