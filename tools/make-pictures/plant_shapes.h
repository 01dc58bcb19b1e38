// Silhouette elements of the overlay frames: grass, vines, branches, bushes, reeds, flowers.
// Every element is drawn with wrapping, so the frames tile.
#pragma once

#include "tools/make-pictures/random_source.h"
#include "tools/make-pictures/shapes.h"

// A blade rising from `base` to `height` pixels, bending sideways by `lean` at its tip.
void DrawBlade(Mask& mask, Point base, double height, double lean, double width);
// A strand hanging from `top`, swaying, with leaves every so often.
void DrawVine(Mask& mask, RandomSource& random, Point top, double length, double leafSize);
// A forked branch growing at `angle` (radians, 0 = right, positive = down).
void DrawBranch(Mask& mask, RandomSource& random, Point start, double angle, double length, double radius, int depth);
// A clump of round lobes sitting on `base`.
void DrawBush(Mask& mask, RandomSource& random, Point base, double radius);
// A stem with thorns pointing alternately left and right.
void DrawThornStem(Mask& mask, RandomSource& random, Point base, double height, double lean);
// A reed with a long seed head.
void DrawReed(Mask& mask, Point base, double height, double lean);
// A flower on a stem: petals around a disc.
void DrawStemFlower(Mask& mask, Point base, double height, double lean, double bloom);
// A band of ground across the whole width, its upper edge rolling.
void DrawGround(Mask& mask, RandomSource& random, double top, double bottom);
