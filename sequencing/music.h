// Music playback: the demo's clock and its spectrum.
//
// Start-up calls StartMusic only when the script named a music file, EnableSpectrum once the render
// pipeline exists; every frame sets `musicTime` := GetMusicTime() and then ReadSpectrum(spectrum);
// shut-down calls StopMusic when StartMusic was called. A failure of the sound layer is a fatal error
// report from module "FMOD" with the text of the layer's error code.
//
// Without StartMusic the sound layer is never started: EnableSpectrum does nothing, GetMusicTime
// gives 0 and ReadSpectrum 512 zeros, so the frame loop ends after its first frame.
#pragma once

#include <cstdint>

// Opens `musicFile` at `musicOffset` as a looping stream and plays it, audibly when `on`, otherwise
// on the silent output with the same timing. A `musicLength` of 0 becomes the stream's length.
void StartMusic(bool on);
void EnableSpectrum();
// The playing time in milliseconds.
std::int32_t GetMusicTime();
// 512 values into `target`, as the sound layer gives them (0 to 1, see platform/sound_analysis.h).
void ReadSpectrum(float* target);
void StopMusic();
