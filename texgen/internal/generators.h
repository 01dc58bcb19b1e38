// Generator operations (codes 0 to 8): each writes every pixel of its layer from nothing.
// Layer arguments must be valid indices (the dispatcher checks them).
#pragma once

#include <cstdint>

void subPlasma(int layer, std::int32_t step, std::int32_t seed, std::int32_t range, bool colour);
void sinePlasma(int layer, float freqX, float freqY, float amplitude);
void perlinNoise(int layer, std::int32_t step, std::int32_t seed, std::int32_t amplitude,
                 std::int32_t persistence, std::int32_t octaves, bool colour);
void particle(int layer, float falloff);
void colorLayer(int layer, std::int32_t red, std::int32_t green, std::int32_t blue);
void checkerBoardLayer(int layer, std::int32_t cellWidth, std::int32_t cellHeight, std::int32_t r1,
                       std::int32_t g1, std::int32_t b1, std::int32_t r2, std::int32_t g2,
                       std::int32_t b2);
void blobsLayer(int layer, std::int32_t seed, std::int32_t count, bool colour);
void mandelBrot(int layer, float left, float width, float top, float height, float bailout);
void cellMachine(int layer, std::int32_t seed, std::int32_t rule);
