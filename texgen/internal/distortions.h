// Distortions (codes 40 to 47 and 49): every target pixel is read from a computed source position.
// They stage through the scratch layer 5 so that source and target may be the same layer.
#pragma once

#include <cstdint>

void sineDistort(int source, int target, float freqY, float ampX, float freqX, float ampY);
void twirlLayer(int source, int target, float strength, float radiusScale);
void mapDistort(int source, int map, int target, float scaleX, float scaleY);
void tileLayer(int source, int target);
void noiseDistort(int source, int target, std::int32_t seed, std::int32_t bits);
void moveDistort(int source, int target, std::int32_t dx, std::int32_t dy);
void kaleidLayer(int source, int target, std::int32_t quadrant);
void tunnelDistort(int source, int target, float depth);
void logPolLayer(int source, int target);
