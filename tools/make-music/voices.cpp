#include "tools/make-music/voices.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kSecondsPerFrame = 1.0 / kSampleRate;

// xorshift noise in -1 to 1, seeded from where the hit starts.
class Noise {
 public:
  explicit Noise(std::int64_t seed) : state_(static_cast<std::uint32_t>(seed * 2654435761u) | 1u) {}
  double Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_ / 2147483648.0 - 1.0;
  }

 private:
  std::uint32_t state_;
};

class OnePole {
 public:
  explicit OnePole(double cutoffHz) { SetCutoff(cutoffHz); }
  void SetCutoff(double cutoffHz) { a_ = 1.0 - std::exp(-2.0 * kPi * cutoffHz / kSampleRate); }
  double Low(double x) { return y_ += a_ * (x - y_); }
  double High(double x) { return x - Low(x); }

 private:
  double a_ = 0.0;
  double y_ = 0.0;
};

// Band-limited sawtooth (polyBLEP), phase in 0 to 1.
double Saw(double phase, double step) {
  double blep = 0.0;
  if (phase < step) {
    const double t = phase / step;
    blep = t + t - t * t - 1.0;
  } else if (phase > 1.0 - step) {
    const double t = (phase - 1.0) / step;
    blep = t * t + t + t + 1.0;
  }
  return 2.0 * phase - 1.0 - blep;
}

double Advance(double phase, double step) {
  phase += step;
  return phase >= 1.0 ? phase - 1.0 : phase;
}

// Linear attack, then held, then an exponential release after `lengthS`.
double NoteEnvelope(double t, double attackS, double lengthS, double releaseS) {
  if (t < attackS) return t / attackS;
  if (t < lengthS) return 1.0;
  return std::exp(-(t - lengthS) / releaseS);
}

}  // namespace

double NoteHz(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }
double BinHz(int bin) { return bin * static_cast<double>(kSampleRate) / 1024.0; }

void Kick(StereoBuffer& out, double startMs, double level) {
  const std::int64_t start = FrameAt(startMs);
  Noise noise(start);
  double phase = 0.0;
  for (std::int64_t i = 0; i < FrameAt(450); ++i) {
    const double t = i * kSecondsPerFrame;
    phase += (46.0 + 120.0 * std::exp(-t / 0.035)) * kSecondsPerFrame;
    const double body = std::sin(2.0 * kPi * phase) * std::exp(-t / 0.28);
    const double click = t < 0.004 ? noise.Next() * 0.3 * (1.0 - t / 0.004) : 0.0;
    out.Add(start + i, level * (std::tanh(1.6 * body) + click));
  }
}

void Snare(StereoBuffer& out, double startMs, double level) {
  const std::int64_t start = FrameAt(startMs);
  Noise noise(start + 7);
  OnePole low(6000.0), high(900.0);
  double phase = 0.0;
  for (std::int64_t i = 0; i < FrameAt(320); ++i) {
    const double t = i * kSecondsPerFrame;
    const double rattle = high.High(low.Low(noise.Next())) * std::exp(-t / 0.09);
    phase += 185.0 * kSecondsPerFrame;
    const double tone = std::sin(2.0 * kPi * phase) * std::exp(-t / 0.045);
    out.Add(start + i, level * (0.9 * rattle + 0.6 * tone), 0.05);
  }
}

void HiHat(StereoBuffer& out, double startMs, double level, bool open, double pan) {
  const std::int64_t start = FrameAt(startMs);
  Noise noise(start + 13);
  OnePole high(7000.0);
  const double decay = open ? 0.16 : 0.045;
  const double f1 = BinHz(110), f2 = BinHz(170), f3 = BinHz(213), f4 = BinHz(141);
  for (std::int64_t i = 0; i < FrameAt(open ? 600 : 200); ++i) {
    const double t = i * kSecondsPerFrame;
    const double envelope = std::exp(-t / decay) * (t < 0.001 ? t / 0.001 : 1.0);
    const double metal = std::sin(2.0 * kPi * f1 * t) + 0.9 * std::sin(2.0 * kPi * f2 * t + 1.0) +
                         0.2 * std::sin(2.0 * kPi * f3 * t + 2.0) + 0.2 * std::sin(2.0 * kPi * f4 * t + 0.5);
    out.Add(start + i, level * envelope * (0.5 * metal + 0.3 * high.High(noise.Next())), pan);
  }
}

void Crash(StereoBuffer& out, double startMs, double level) {
  const std::int64_t start = FrameAt(startMs);
  Noise left(start + 21), right(start + 22);
  OnePole highLeft(3500.0), highRight(3500.0);
  for (std::int64_t i = 0; i < FrameAt(2200); ++i) {
    const double t = i * kSecondsPerFrame;
    const double envelope = level * std::exp(-t / 0.7);
    out.AddStereo(start + i, envelope * highLeft.High(left.Next()), envelope * highRight.High(right.Next()));
  }
}

void Bass(StereoBuffer& out, double startMs, double lengthMs, int note, double level) {
  const std::int64_t start = FrameAt(startMs);
  const double step = NoteHz(note) * kSecondsPerFrame, lengthS = lengthMs / 1000.0;
  OnePole filter(300.0), second(300.0);
  double phase = 0.0;
  for (std::int64_t i = 0; i < FrameAt(lengthMs + 80); ++i) {
    const double t = i * kSecondsPerFrame;
    filter.SetCutoff(180.0 + 1400.0 * std::exp(-t / 0.06));
    second.SetCutoff(900.0);
    const double saw = Saw(phase, step) + 0.5 * std::sin(2.0 * kPi * phase);
    phase = Advance(phase, step);
    out.Add(start + i, level * NoteEnvelope(t, 0.004, lengthS, 0.02) * second.Low(filter.Low(saw)));
  }
}

void PadNote(StereoBuffer& out, double startMs, double lengthMs, int note, double level, double pan) {
  const std::int64_t start = FrameAt(startMs);
  const double hz = NoteHz(note), lengthS = lengthMs / 1000.0;
  const double stepA = hz * 1.0016 * kSecondsPerFrame, stepB = hz * 0.9984 * kSecondsPerFrame;
  OnePole filterA(1400.0), filterB(1400.0);
  double phaseA = 0.0, phaseB = 0.37;
  for (std::int64_t i = 0; i < FrameAt(lengthMs + 900); ++i) {
    const double t = i * kSecondsPerFrame;
    const double envelope = level * NoteEnvelope(t, 0.35, lengthS, 0.3);
    const double a = filterA.Low(Saw(phaseA, stepA)), b = filterB.Low(Saw(phaseB, stepB));
    phaseA = Advance(phaseA, stepA);
    phaseB = Advance(phaseB, stepB);
    out.AddStereo(start + i, envelope * (a * (1.0 - 0.6 * pan) + b * 0.4), envelope * (b * (1.0 + 0.6 * pan) + a * 0.4));
  }
}

void Lead(StereoBuffer& out, double startMs, double lengthMs, int note, double level) {
  const std::int64_t start = FrameAt(startMs);
  const double hz = NoteHz(note), lengthS = lengthMs / 1000.0;
  OnePole filter(2600.0), second(3200.0);
  double phase = 0.0;
  for (std::int64_t i = 0; i < FrameAt(lengthMs + 200); ++i) {
    const double t = i * kSecondsPerFrame;
    const double vibrato = 1.0 + 0.004 * std::sin(2.0 * kPi * 5.2 * t) * std::min(1.0, t / 0.2);
    const double step = hz * vibrato * kSecondsPerFrame;
    const double square = (phase < 0.5 ? 1.0 : -1.0) * 0.6 + 0.4 * Saw(phase, step);
    phase = Advance(phase, step);
    out.Add(start + i, level * NoteEnvelope(t, 0.01, lengthS, 0.06) * second.Low(filter.Low(square)), -0.15);
  }
}

void Pluck(StereoBuffer& out, double startMs, double lengthMs, int note, double level, double pan) {
  const std::int64_t start = FrameAt(startMs);
  const double step = NoteHz(note) * kSecondsPerFrame;
  OnePole filter(3000.0);
  double phase = 0.0;
  for (std::int64_t i = 0; i < FrameAt(lengthMs + 120); ++i) {
    const double t = i * kSecondsPerFrame;
    filter.SetCutoff(500.0 + 2600.0 * std::exp(-t / 0.05));
    const double saw = Saw(phase, step);
    phase = Advance(phase, step);
    out.Add(start + i, level * std::exp(-t / 0.12) * std::min(1.0, t / 0.002) * filter.Low(saw), pan);
  }
}

void Riser(StereoBuffer& out, double startMs, double lengthMs, double level) {
  const std::int64_t start = FrameAt(startMs);
  Noise noise(start + 31);
  OnePole filter(200.0), high(150.0);
  const std::int64_t n = FrameAt(lengthMs);
  for (std::int64_t i = 0; i < n; ++i) {
    const double progress = static_cast<double>(i) / n;
    filter.SetCutoff(200.0 + 2800.0 * progress * progress);
    out.Add(start + i, level * progress * high.High(filter.Low(noise.Next())));
  }
}
