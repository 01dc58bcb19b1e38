// Making a picture fit the codec's sizes: the transform halves the picture lastLevel + 1 times, so
// width and height must be multiples of 2^(lastLevel + 1).
#pragma once

#include <optional>
#include <string>

#include "tools/common/png_io.h"

enum class FitMode { Pad, Crop };

// "pad" or "crop"; nothing for anything else.
std::optional<FitMode> ParseFitMode(const std::string& text);

// The lastLevel a fitted picture is made for: `levels` when given, else the deepest transform (at
// most 5 steps below the picture) whose block still fits inside the picture, so that a crop never
// empties it and a pad never more than doubles a side. -1 for a picture under 2 x 2.
int FitLevel(int width, int height, std::optional<int> levels);

// Pad repeats the last column and row up to the next multiple of `block`; crop keeps the top-left
// part of the largest multiple. A side that is a multiple already stays as it is.
Picture FitPicture(const Picture& picture, FitMode mode, int block);
