// A render condition that is never met (an occlusion query around nothing passes no sample): while
// it holds, the driver takes every call and every vertex but draws and clears nothing. The exact
// seek replays frames under it, and the vertex buffer's fill is placed under it.
#pragma once

class DiscardedDraws {
 public:
  DiscardedDraws();
  ~DiscardedDraws();
  DiscardedDraws(const DiscardedDraws&) = delete;
  DiscardedDraws& operator=(const DiscardedDraws&) = delete;

  void Begin();  // needs OpenGL 3.0; not nested
  void End();

 private:
  unsigned nothingPassed_ = 0;
};
