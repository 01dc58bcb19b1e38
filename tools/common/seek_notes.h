// The exact seek's notes (runtime.h, VertexBufferFills) kept between runs, so that a moment
// kelvane-render has once reached costs its replay only once: in $XDG_CACHE_HOME/kelvane/seek/ (or
// ~/.cache/kelvane/seek/), one file per GL driver, kelvane-render build, "script.dlx", frame rate and
// picture size. kelvane-render writes them; the live player reads them to seek as it would.
//
// A file is text: the line "kelvane seek notes 1", then one fill per line (-1: not noted). A file
// that cannot be read or is not of this form counts as no notes; a cache that cannot be written is
// passed over in silence (the render itself is the same either way).
#pragma once

#include <cstdint>
#include <string>

#include "runtime/runtime.h"

class SeekNotes {
 public:
  // Needs the demo started (it reads the driver's name) and the current folder the demo's.
  // `renderer` is the kelvane-render program whose notes these are.
  SeekNotes(const std::string& renderer, std::int32_t fps, std::int32_t width, std::int32_t height);

  VertexBufferFills& fills() { return fills_; }
  void Save() const;

 private:
  std::string path_;
  VertexBufferFills fills_;
};
