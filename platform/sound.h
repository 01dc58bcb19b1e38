// The sound layer: one looping music stream, its playing time and its spectrum; and, for programs
// that render the demo offline, the same decoding and the same spectrum without any output.
//
// PLAYING. The music module calls the layer in the order a sound library of the demo's own platform
// is called: choose the output, initialise at the mixing rate, set the stream buffer, open the
// stream, play it, then read its time and spectrum once per frame; close the stream and the layer at
// the end. Every failing call returns its failure value and leaves a code for SoundLastError.
//
// TIME. The position the listener hears now, in milliseconds since play, with the output's latency
// taken off; it advances smoothly between the output's buffers and never goes backwards. The stream
// loops, and the time goes on past its length. The silent output runs the same time with no device.
//
// SPECTRUM. 512 magnitudes of the last 1024 samples heard. The samples are the mono mix
// (left + right) / 2 at the mixing rate (44100 Hz), in -1 to 1, weighted with a periodic Hann window
// of 1024 points and transformed; value k is the magnitude of frequency k × 44100 / 1024 Hz (about
// 43.07 Hz per bin, so 1 kHz falls in bin 23), scaled by 4 / 1024 so that the window's gain of one
// half is undone and a full-scale sine whose frequency sits on a bin reads 1.0 there (a sine between
// two bins reads a little less, down to about 0.85). Values are clamped to 0 to 1 (a NaN sample
// gives 0). The Nyquist value is dropped. At a playing time of T ms the samples are the stream's
// frames F - 1024 to F - 1 with F = floor(T × 44100 / 1000), counted at the mixing rate from the
// start of play, loops included, zeros before frame 0; T is the time when the spectrum is read.
//
// OFFLINE. SoundDecodeAsStreamed gives the very frames the stream plays, and AnalyseSpectrum is the
// live spectrum's own analysis: a renderer that takes frames F - 1024 to F - 1 of the one and hands
// their mono mix to the other gets the live spectrum at T bit for bit, with no device and no clock.
//
// ERRORS. The codes below, with their messages from SoundErrorText; the music module reports them.
//
// Files: WAV, FLAC, Ogg Vorbis, MP3 and whatever else libsndfile reads. A mono file is doubled, a file
// with more channels gives its first two; a file at another rate is converted to the mixing rate by
// linear interpolation.
#pragma once

#include <cstdint>
#include <vector>

// ---- Errors ----------------------------------------------------------------------------------

inline constexpr std::int32_t kSoundNoError = 0;
inline constexpr std::int32_t kSoundAlreadyInitialised = 1;
inline constexpr std::int32_t kSoundNotInitialised = 2;
inline constexpr std::int32_t kSoundOutputDeviceFailed = 3;
inline constexpr std::int32_t kSoundPlayFailed = 5;
inline constexpr std::int32_t kSoundFileNotFound = 9;
inline constexpr std::int32_t kSoundUnknownFormat = 10;
inline constexpr std::int32_t kSoundFileLoadFailed = 11;
inline constexpr std::int32_t kSoundOutOfMemory = 12;
inline constexpr std::int32_t kSoundInvalidParameter = 14;

// The code of the last failing call.
std::int32_t SoundLastError();
// The message for `code`; "Unknown error" for any code without one.
const char* SoundErrorText(std::int32_t code);

// ---- Playing ---------------------------------------------------------------------------------

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
// loading file, 14 negative offset.
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

// ---- Playing music with a transport -----------------------------------------------------------
//
// For a player that pauses and seeks: the music is handed over whole (as SoundDecodeAsStreamed gives
// it) and plays through the output from any position, in place of a stream. A seek, or new music,
// is heard at once, after what the output already holds (one device buffer at most); a pause plays
// silence. The time is the position heard, smooth as a stream's, except that it stands still while
// paused and moves with a seek; past the end of the music it plays silence and the time goes on.

class SoundTransport;

// After SoundInit; paused at 0 ms. Nothing, with code 2, before SoundInit.
SoundTransport* SoundTransportOpen(std::vector<float> stereo);
// New music from the same position.
void SoundTransportSetMusic(SoundTransport* transport, std::vector<float> stereo);
void SoundTransportSeek(SoundTransport* transport, double ms);
void SoundTransportPause(SoundTransport* transport, bool paused);
double SoundTransportTimeMs(SoundTransport* transport);
void SoundTransportClose(SoundTransport* transport);

// ---- The spectrum ----------------------------------------------------------------------------

inline constexpr std::int32_t kSpectrumWindow = 1024;
inline constexpr std::int32_t kSpectrumBins = 512;

// The analysis, off until switched on (and again after SoundClose).
void SoundSetSpectrumActive(bool active);
// 512 values as of now: zeros while the analysis is off or nothing plays. The pointer stays valid;
// the values change with the next call.
const float* SoundSpectrum();

// The spectrum of a window of samples: `samples` holds 1024 mono samples, oldest first;
// `magnitudes` receives 512 values. Thread-safe.
void AnalyseSpectrum(const float* samples, float* magnitudes);

// ---- Decoding a music file as the stream would play it ---------------------------------------

struct SoundFileInfo {
  std::int32_t error = kSoundNoError;  // why SoundStreamOpen would refuse the file (codes 9 to 14)
  std::int32_t rate = 0;               // the file's own frames per second
  std::int64_t frames = 0;             // the music's frames at that rate
  std::int32_t lengthMs = 0;           // what SoundStreamLengthMs gives for it
};

// The music `byteOffset` bytes into `file`, as SoundStreamOpen would find it. Needs no SoundInit.
SoundFileInfo SoundInspectFile(const char* file, std::int32_t byteOffset);

// The first `frames` interleaved stereo frames that a stream of this music plays at `mixRate`, frame
// 0 first: converted in the same blocks and looping at the end of the music as the stream does.
// Fewer only where the music stops giving frames (a file that cannot seek back to its start); none
// when it cannot be opened (SoundInspectFile says why). Needs no SoundInit.
std::vector<float> SoundDecodeAsStreamed(const char* file, std::int32_t byteOffset, std::int32_t mixRate,
                                         std::int64_t frames);
