// Writing the rendered music with libsndfile: Ogg Vorbis for the demo, 16-bit WAV for checking
// that the synthesis gives the same samples on every run.
#pragma once

#include <string>

#include "tools/make-music/stereo_buffer.h"

// `quality` is Vorbis's variable-bit-rate quality, 0 to 1. Failures leave a message in `error`.
bool WriteOggVorbis(const std::string& path, const StereoBuffer& music, double quality, std::string& error);
bool WriteWav(const std::string& path, const StereoBuffer& music, std::string& error);
