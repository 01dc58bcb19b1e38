// The sound layer: one looping music stream, its playing time and its spectrum.
//
// The music module calls these in the order a sound library of the demo's own platform is called:
// choose the output, initialise at the mixing rate, set the stream buffer, open the stream, play it,
// then read its time and spectrum once per frame; close the stream and the layer at the end. Every
// failing call returns its failure value and leaves a code for SoundLastError (see sound_errors.h).
//
// Time: the position the listener hears now, in milliseconds since play, with the output's latency
// taken off; it advances smoothly between the output's buffers and never goes backwards. The stream
// loops, and the time goes on past its length. The silent output runs the same time with no device.
// Spectrum: see sound_analysis.h.
#pragma once

#include <cstdint>

class SoundStream;

enum class SoundOutputKind : std::int32_t {
  Silent = 0,  // no device: the stream plays on the steady clock
  Device = 1,  // the default audio device
};

// Before SoundInit; afterwards it fails with code 1 and changes nothing.
void SoundSetOutput(SoundOutputKind output);
// Only the default driver, 0, exists.
bool SoundSetDriver(std::int32_t driver);

// Starts the output at `mixRate` Hz. False with code 3 when the device cannot be opened.
bool SoundInit(std::int32_t mixRate);
// Milliseconds of music decoded ahead of the listener (800 at start-up).
void SoundSetStreamBufferMs(std::int32_t ms);

// Opens `file` for looping playback; the music starts `byteOffset` bytes into the file (0: the whole
// file). Nothing, with code 2 before SoundInit, 9 file not found, 10 unknown file format, 11 error
// loading file, 14 negative offset. A file at another rate is converted to the mixing rate.
SoundStream* SoundStreamOpen(const char* file, std::int32_t byteOffset);
// Starts playing; the channel (0), or -1 with its code.
std::int32_t SoundStreamPlay(SoundStream* stream);
// The music's length in milliseconds (an MP3's is the decoder's estimate).
std::int32_t SoundStreamLengthMs(SoundStream* stream);
// The playing time in milliseconds; 0 before play.
std::int32_t SoundStreamTimeMs(SoundStream* stream);
void SoundStreamClose(SoundStream* stream);

// Stops the output. Streams still open must be closed first.
void SoundClose();

std::int32_t SoundLastError();

// The spectrum analysis, off until switched on (and again after SoundClose).
void SoundSetSpectrumActive(bool active);
// 512 values as of now: zeros while the analysis is off or nothing plays. The pointer stays valid;
// the values change with the next call.
const float* SoundSpectrum();
