// Combiners (codes 10 to 17): two layers merged channel by channel into a third.
// Each reads and writes in one pass, so the target may also be a source.
#pragma once

void addLayers(int source1, int source2, int target, float weight1, float weight2);
void mulLayers(int source1, int source2, int target, float weight1, float weight2);
void randCombineLayers(int source1, int source2, int target, float weight1, float weight2);
void minCombineLayers(int source1, int source2, int target, float weight1, float weight2);
void maxCombineLayers(int source1, int source2, int target, float weight1, float weight2);
void xorLayers(int source1, int source2, int target, float weight1, float weight2);
void orLayers(int source1, int source2, int target, float weight1, float weight2);
void andLayers(int source1, int source2, int target, float weight1, float weight2);
