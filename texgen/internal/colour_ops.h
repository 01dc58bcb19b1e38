// Colour operations (codes 20 to 26 and 30): one layer changed pixel by pixel into a target.
// Each reads a pixel and writes it in the same pass, so the target may be the source.
#pragma once

#include <cstdint>

void scaleLayerRGB(int source, int target, float s0, float s1, float s2);
void scaleLayerHSV(int source, int target, float hueScale, float satScale, float valScale);
void adjustLayerRGB(int source, int target, std::int32_t d0, std::int32_t d1, std::int32_t d2);
void adjustLayerHSV(int source, int target, float hueShift, float satShift, float valShift);
void sineLayerRGB(int source, int target, float f0, float f1, float f2);
void equalizeRGB(int source, int target);
void stretchRGB(int source, int target);
void invertLayer(int source, int target);
