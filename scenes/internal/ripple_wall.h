// The 80 x 80 tile walls over the depth ripple (ripple.h): the flower mosaic and the walls that pulse
// with the music. Tile (i, j) has its corners at (0.6 i -/+ h, 0.6 j -/+ h), depth rowZ on its left
// and rowZ + colZ on its right, and shows the picture's piece (i - 1 ... i, j - 1 ... j) / 80, moved
// by a drift: corners one and three by (p, q), corners two and four by (q, p), so that p != q shears
// each tile's piece a little.
#pragma once

struct RippleWall {
  double phase;     // the ripple's phase: a time divided by 80
  double fine;      // the ripple's fine term (ripple.h)
  double halfSize;  // h
  double p = 0;     // drift of corners one and three in s, of two and four in t
  double q = 0;     // drift of corners one and three in t, of two and four in s
};

// All 6400 tiles, rows outer and columns inner, as one GL_QUADS batch.
void DrawRippleWall(const RippleWall& wall);
