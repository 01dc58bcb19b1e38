#include "platform/sound.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <numbers>

namespace {

// One plan, its buffers and the window, made once. FFTW's planner is not thread-safe, and keeping
// one plan on one pair of buffers makes every call take exactly the same code path.
struct Analyser {
  Analyser()
      : input(fftwf_alloc_real(kSpectrumWindow)),
        output(fftwf_alloc_complex(kSpectrumWindow / 2 + 1)),
        plan(fftwf_plan_dft_r2c_1d(kSpectrumWindow, input, output, FFTW_ESTIMATE)) {
    for (std::int32_t n = 0; n < kSpectrumWindow; ++n) {
      const double phase = 2.0 * std::numbers::pi * n / kSpectrumWindow;
      window[n] = static_cast<float>(0.5 - 0.5 * std::cos(phase));
    }
  }
  ~Analyser() {
    fftwf_destroy_plan(plan);
    fftwf_free(output);
    fftwf_free(input);
  }

  float window[kSpectrumWindow];
  float* input;
  fftwf_complex* output;
  fftwf_plan plan;
  std::mutex busy;
};

Analyser& TheAnalyser() {
  static Analyser analyser;
  return analyser;
}

// |X| × 2 / (N × 0.5): a one-sided spectrum with the Hann window's coherent gain undone.
constexpr float kScale = 4.0f / kSpectrumWindow;

}  // namespace

void AnalyseSpectrum(const float* samples, float* magnitudes) {
  Analyser& analyser = TheAnalyser();
  const std::lock_guard lock(analyser.busy);
  for (std::int32_t n = 0; n < kSpectrumWindow; ++n) analyser.input[n] = samples[n] * analyser.window[n];
  fftwf_execute(analyser.plan);
  for (std::int32_t k = 0; k < kSpectrumBins; ++k) {
    const float magnitude = std::hypot(analyser.output[k][0], analyser.output[k][1]) * kScale;
    magnitudes[k] = magnitude > 0.0f ? std::min(magnitude, 1.0f) : 0.0f;  // a NaN sample gives 0
  }
}
