// The window module's steps, for zenCreateWindow, PumpOneMessage and the platform's own tests.
#pragma once

#include "platform/internal/video.h"
#include "platform/window.h"

// The three logged steps of zenCreateWindow. WindowCreate fails through FatalError, before any window
// exists, when a full-screen mode is not offered by the display; otherwise null means failure.
bool WindowRegister();
VideoWindow* WindowCreate(const char* caption);
bool WindowInit(VideoWindow* window);

// Acts on one input event: Escape and the close request clear `active`; everything else is ignored.
void WindowProc(VideoEvent event);
