// The loading screen: a picture with a progress bar, redrawn between the stages of start-up.
//
// LoadingScreenInit sets the GL state that holds for the whole run (viewport, shade model, clear
// depth, depth function, perspective hint) and loads `loadingTexture`; ShowProgress(p) draws the
// picture and a dark red bar whose right edge runs from -0.98 (p = 0) to 0.98 (p = 1) in the picture's
// plane, and swaps the buffers.
#pragma once

#include "images/demo_pictures.h"

class zenTexture;

inline constexpr const char* kLoadingPictureFile = kLoadingPicture.file;

// "data/loading.hwl", components 3, no mipmaps; set by LoadingScreenInit.
extern zenTexture* loadingTexture;

void LoadingScreenInit();
void ShowProgress(double p);
// Destroys `loadingTexture` (first step of the textures' shut-down).
void DestroyLoadingTexture();
