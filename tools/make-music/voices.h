// The instruments: each writes one note or hit into a buffer, starting at a time in milliseconds.
// Everything is computed from the arguments and a fixed noise sequence, so a note sounds the same
// on every run.
#pragma once

#include <cstdint>

#include "tools/make-music/stereo_buffer.h"

// Frequency of a MIDI note number (69 = A 440 Hz).
double NoteHz(int note);
// The frequency of spectrum bin k (44100 / 1024 Hz per bin): the hi-hat tunes its partials to two
// bins, so the spectrum the scenes read peaks there on every hit.
double BinHz(int bin);

void Kick(StereoBuffer& out, double startMs, double level);
void Snare(StereoBuffer& out, double startMs, double level);
// A closed (short) or open (long) hi-hat with metallic partials on bins 110 and 170.
void HiHat(StereoBuffer& out, double startMs, double level, bool open, double pan);
void Crash(StereoBuffer& out, double startMs, double level);
void Bass(StereoBuffer& out, double startMs, double lengthMs, int note, double level);
// One note of the pad: two slightly detuned saws, slow attack and release.
void PadNote(StereoBuffer& out, double startMs, double lengthMs, int note, double level, double pan);
void Lead(StereoBuffer& out, double startMs, double lengthMs, int note, double level);
// A short plucked note for the arpeggios.
void Pluck(StereoBuffer& out, double startMs, double lengthMs, int note, double level, double pan);
// Rising filtered noise over `lengthMs`, for the build-up into the last section.
void Riser(StereoBuffer& out, double startMs, double lengthMs, double level);
