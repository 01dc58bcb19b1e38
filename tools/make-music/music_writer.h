// Writing the rendered music with libsndfile: Ogg Vorbis for the demo, 16-bit WAV for checking
// that the synthesis gives the same samples on every run.
#pragma once

#include <string>

#include "tools/make-music/stereo_buffer.h"

// Kind of file by what the format needs: quality applies to Vorbis only (0 to 1).
bool WriteOggVorbis(const std::string& path, const StereoBuffer& music, double quality, std::string& error);
bool WriteWav(const std::string& path, const StereoBuffer& music, std::string& error);
