// DrawBeatOverlay: the beat overlay (beat_overlay.h) with the demo's own pictures, the six
// silhouettes, the sign strip and the text lines, looked up in the demo's texture table.
#pragma once

void DrawBeatOverlay();
