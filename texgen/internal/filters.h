// Neighbourhood filters (codes 31 to 39, 48, 50, 51). All but woodLayer copy the source into the
// scratch layer 5 and read only from there, so source and target may be the same layer.
#pragma once

#include <cstdint>

void embossLayer(int source, int target);
void woodLayer(int source, int target, std::int32_t bits);
void blurLayer(int source, int target);
void sharpenLayer(int source, int target);
void edgeHLayer(int source, int target);
void edgeVLayer(int source, int target);
void motionBlur(int source, int target, std::int32_t radius);
void makeTilable(int source, int target, std::int32_t border);
void medianLayer(int source, int target);
void sculptureLayer(int source, int target);
void erodeLayer(int source, int target);
void dilateLayer(int source, int target);
