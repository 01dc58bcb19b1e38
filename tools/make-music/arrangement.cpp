#include "tools/make-music/arrangement.h"

#include <algorithm>
#include <cmath>

#include "tools/make-music/voices.h"

namespace {

constexpr double kBandGain = 0.45;

struct Chord {
  int bass;
  int notes[3];
};

// A minor: Am F C G for the first part, F G Em Am for the second.
constexpr Chord kFirstChords[4] = {{45, {57, 60, 64}}, {41, {57, 60, 65}}, {48, {55, 60, 64}}, {43, {55, 59, 62}}};
constexpr Chord kSecondChords[4] = {{41, {57, 60, 65}}, {43, {55, 59, 62}}, {40, {55, 59, 64}}, {45, {57, 60, 64}}};

// Eight eighth notes per bar over four bars; 0 is a rest.
constexpr int kFirstMelody[4][8] = {{69, 0, 72, 69, 76, 0, 74, 72},
                                    {72, 0, 69, 0, 65, 67, 69, 0},
                                    {67, 0, 72, 74, 76, 0, 79, 76},
                                    {74, 0, 71, 0, 67, 0, 69, 71}};
constexpr int kSecondMelody[4][8] = {{77, 76, 72, 0, 69, 0, 72, 74},
                                     {74, 0, 71, 74, 79, 0, 77, 74},
                                     {76, 0, 0, 71, 67, 71, 76, 79},
                                     {81, 0, 76, 0, 72, 0, 69, 0}};

const Chord& ChordOf(int bar) {
  const bool second = bar >= 27 && bar <= kLastSlowBar;
  return second ? kSecondChords[bar % 4] : kFirstChords[bar % 4];
}

struct Parts {
  StereoBuffer drums, hats, bass, pad, lead, arps;
  explicit Parts(std::int64_t frames)
      : drums(frames), hats(frames), bass(frames), pad(frames), lead(frames), arps(frames) {}
};

void SlowDrums(Parts& parts, int bar) {
  StereoBuffer& drums = parts.drums;
  StereoBuffer& hats = parts.hats;
  const bool groove = bar >= 4 && bar <= 38;
  const bool breakdown = bar >= 39;
  for (int b = 0; b < 4; ++b) {
    const double beat = BeatMs(4 * bar + b);
    if ((groove || (breakdown && bar >= 41)) && (bar >= 4 || b == 0)) Kick(drums, beat, 0.62);
    if (bar >= 8 && bar <= 38 && (b == 1 || b == 3)) Snare(drums, beat, 0.4);
    if (bar >= 2) {
      HiHat(hats, beat, 0.3, false, 0.15);
      HiHat(hats, beat + kBeatMs / 2.0, bar >= 12 && bar <= 38 ? 0.28 : 0.22, bar >= 12 && bar <= 26, -0.15);
    }
    if (bar >= 27 && bar <= 38) HiHat(hats, beat + kBeatMs * 0.75, 0.14, false, 0.4);
  }
  if (bar == 43)
    for (int s = 0; s < 16; ++s) Snare(drums, BeatMs(4 * bar) + s * kBeatMs / 4.0, 0.1 + 0.02 * s);
}

// Pad chords throughout; plucked arpeggios in the intro and the breakdown, eighth-note bass between.
void SlowHarmony(Parts& parts, int bar) {
  const Chord& chord = ChordOf(bar);
  const double start = std::max(0.0, BeatMs(4 * bar));
  const double length = BeatMs(4 * bar + 4) - start - 60.0;
  for (int k = 0; k < 3; ++k) PadNote(parts.pad, start, length, chord.notes[k], 0.05, k - 1.0);
  const bool quietBar = (bar >= 2 && bar <= 11) || bar >= 39;
  if (quietBar)
    for (int e = 0; e < 8; ++e) {
      const int note = chord.notes[(e * 2) % 3] + (e % 4 == 3 ? 24 : 12);
      Pluck(parts.arps, BeatMs(4 * bar + e / 2.0), kBeatMs / 2.0, note, 0.09, e % 2 ? 0.4 : -0.4);
    }
  if (bar >= 6 && bar <= 42)
    for (int e = 0; e < 8; ++e) {
      const int note = chord.bass + (e == 3 || e == 7 ? 12 : 0);
      Bass(parts.bass, BeatMs(4 * bar + e / 2.0), kBeatMs / 2.0 - 40.0, note, 0.34);
    }
}

void SlowMelody(StereoBuffer& lead, int bar) {
  const bool first = bar >= 14 && bar <= 26;
  const bool second = bar >= 29 && bar <= 38;
  if (!first && !second) return;
  const int(*melody)[8] = first ? kFirstMelody : kSecondMelody;
  const int* notes = melody[bar % 4];
  for (int e = 0; e < 8; ++e)
    if (notes[e]) Lead(lead, BeatMs(4 * bar + e / 2.0), kBeatMs / 2.0 - 30.0, notes[e], 0.16);
}

// The fast section: kick on every beat, snare on every other, sixteenth hats, octave bass,
// arpeggios and a doubled pad over the first progression, one chord per four beats, a crash every
// eight beats.
void FastSection(Parts& parts) {
  Crash(parts.drums, BeatMs(4 * (kLastSlowBar + 1)), 0.28);
  Kick(parts.drums, BeatMs(4 * (kLastSlowBar + 1)), 0.62);
  for (int n = kFirstFastBeat; n <= kLastFastBeat; ++n) {
    const double beat = FastBeatMs(n);
    const int index = n - kFirstFastBeat;
    const Chord& chord = kFirstChords[(index / 4) % 4];
    Kick(parts.drums, beat, 0.62);
    if (index % 2 == 1) Snare(parts.drums, beat, 0.42);
    for (int s = 0; s < 4; ++s) HiHat(parts.hats, beat + s * kFastBeatMs / 4.0, s == 0 ? 0.3 : 0.16, s == 2, s % 2 ? -0.15 : 0.15);
    for (int s = 0; s < 4; ++s)
      Bass(parts.bass, beat + s * kFastBeatMs / 4.0, kFastBeatMs / 4.0 - 25.0, chord.bass + (s % 2 ? 12 : 0), 0.3);
    for (int s = 0; s < 4; ++s) {
      const int note = chord.notes[(index * 4 + s) % 3] + 12;
      Pluck(parts.arps, beat + s * kFastBeatMs / 4.0, kFastBeatMs / 4.0, note, 0.16, s % 2 ? 0.5 : -0.5);
    }
    if (index % 4 == 0)
      for (int k = 0; k < 3; ++k) {
        PadNote(parts.pad, beat, 4 * kFastBeatMs - 60.0, chord.notes[k], 0.05, k - 1.0);
        PadNote(parts.pad, beat, 4 * kFastBeatMs - 60.0, chord.notes[k] + 12, 0.03, 1.0 - k);
      }
    if (index % 8 == 0 && index > 0) Crash(parts.drums, beat, 0.16);
    const int* notes = kFirstMelody[(index / 4) % 4];
    for (int e = 0; e < 2; ++e) {
      const int note = notes[(index % 4) * 2 + e];
      if (note) Lead(parts.lead, beat + e * kFastBeatMs / 2.0, kFastBeatMs / 2.0 - 30.0, note + 12, 0.13);
    }
  }
}

// An echo of three eighths on the lead, fed back a little.
void Echo(StereoBuffer& lead) {
  const std::int64_t delay = FrameAt(kBeatMs * 1.5);
  for (std::int64_t i = delay; i < lead.frames(); ++i)
    lead.AddStereo(i, 0.32 * lead.right(i - delay), 0.32 * lead.left(i - delay));
}

// Fades in over the first 300 ms and out over the last 1500 ms.
void Fade(StereoBuffer& mix) {
  const std::int64_t in = FrameAt(300.0), out = FrameAt(1500.0), n = mix.frames();
  for (std::int64_t i = 0; i < in; ++i) mix.Scale(i, static_cast<double>(i) / in);
  for (std::int64_t i = n - out; i < n; ++i) mix.Scale(i, static_cast<double>(n - i) / out);
}

}  // namespace

StereoBuffer RenderPiece() {
  const std::int64_t frames = FrameAt(kLengthMs);
  Parts parts(frames);
  for (int bar = 0; bar <= kLastSlowBar; ++bar) {
    SlowDrums(parts, bar);
    SlowHarmony(parts, bar);
    SlowMelody(parts.lead, bar);
  }
  Riser(parts.drums, BeatMs(4 * 41), 4 * 2 * kBeatMs, 0.25);
  FastSection(parts);
  Echo(parts.lead);
  StereoBuffer mix(frames);
  // The hi-hats keep their own level: the spectrum the scenes read is measured on it.
  mix.Mix(parts.hats, 1.0);
  mix.Mix(parts.drums, kBandGain);
  mix.Mix(parts.bass, kBandGain);
  mix.Mix(parts.pad, kBandGain);
  mix.Mix(parts.lead, kBandGain);
  mix.Mix(parts.arps, kBandGain);
  Fade(mix);
  return mix;
}
