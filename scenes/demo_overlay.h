// DrawBeatOverlay: the beat overlay (beat_overlay.h) with the demo's own pictures, the six
// silhouettes, the sign strip and the text lines, looked up in the demo's texture table.
#pragma once

void DrawBeatOverlay();

// How most scenes end a frame: the finished picture captured and zoom-blurred over itself (20
// layers, `blurStep` apart, at half strength, added), then the beat overlay under the neutral view.
void ZoomBlurUnderBeatOverlay(float blurStep);
