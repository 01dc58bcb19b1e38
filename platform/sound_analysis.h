// The spectrum of what the listener hears: 512 magnitudes of the last 1024 samples.
//
// Convention: the samples are the mono mix (left + right) / 2 at the mixing rate (44100 Hz), in
// -1 to 1. They are weighted with a periodic Hann window of 1024 points and transformed; value k is
// the magnitude of frequency k × 44100 / 1024 Hz (about 43.07 Hz per bin, so 1 kHz falls in bin 23),
// scaled by 4 / 1024 so that the window's gain of one half is undone and a full-scale sine whose
// frequency sits on a bin reads 1.0 there (a sine between two bins reads a little less, down to
// about 0.85). Values are clamped to 0 to 1. The Nyquist value is dropped.
//
// The live spectrum and an offline renderer both call AnalyseSpectrum, so the same samples give the
// same values bit for bit. Live, at a playing time of T ms the samples are the stream's frames (at the
// mixing rate, counted from the start of play, loops included) F - 1024 to F - 1 with
// F = floor(T × 44100 / 1000), zeros before frame 0; T is the time at the moment the spectrum is read.
#pragma once

#include <cstdint>

inline constexpr std::int32_t kSpectrumWindow = 1024;
inline constexpr std::int32_t kSpectrumBins = 512;

// `samples`: 1024 mono samples, oldest first; `magnitudes`: 512 values out.
void AnalyseSpectrum(const float* samples, float* magnitudes);
