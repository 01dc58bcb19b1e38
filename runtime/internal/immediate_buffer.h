// The GL driver's buffer for immediate-mode vertices (glBegin ... glEnd), measured and placed.
//
// Mesa collects immediate-mode vertices in one buffer of 512 KB and draws a batch where the buffer
// runs out, so where a frame's batches are cut depends on how far the buffer was filled before it,
// that is on every vertex sent since the context was made. A different cut can move the last bit of
// a few pixels. A seek that wants the very frame a run from 0 draws must therefore also leave this
// buffer filled as far as that run leaves it.
//
// The buffer cannot be read, but its fill shows: a batch of one-float points longer than what is
// left wraps into a fresh buffer, and the vertex numbers (gl_VertexID) captured by transform
// feedback start again from 0 at that point. From there on the fill is known, and batches of points
// of chosen lengths, drawn under any render condition, bring it to any wanted fill.
//
// Needs OpenGL 3.0 (transform feedback, GLSL 1.30). Every call leaves the GL state as it found it,
// except the buffer's fill; call them between frames, when no batch is pending.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/internal/discarded_draws.h"

class ImmediateBuffer {
 public:
  ImmediateBuffer();
  ~ImmediateBuffer();
  ImmediateBuffer(const ImmediateBuffer&) = delete;
  ImmediateBuffer& operator=(const ImmediateBuffer&) = delete;

  // The bytes filled in the current buffer; nothing when the driver does not behave as described
  // above (another driver, another buffer size), and then the fill is unknown.
  std::optional<std::uint32_t> Measure();
  // Fills the buffer to `filled` bytes (a multiple of 4, with more than 1 KB left), from the fill
  // the last Measure left. False when no Measure has succeeded since the last Place.
  bool Place(std::uint32_t filled);

 private:
  bool Ready();
  void SendPoints(std::uint32_t count);

  unsigned program_ = 0;
  unsigned capture_ = 0;
  std::optional<DiscardedDraws> discarded_;
  bool broken_ = false;
  std::optional<std::uint32_t> known_;  // the fill after the last Measure
};
