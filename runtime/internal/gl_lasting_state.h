// GlLastingState (runtime.h) read back with glGet and sent again exactly, the same single-precision
// values, so that a state restored is equal, bit for bit, to the state captured. The matrix stacks'
// depths are read, not restored: between frames they are always 1.
#pragma once

#include "runtime/runtime.h"

GlLastingState CaptureGlState();
void RestoreGlState(const GlLastingState& state);
