// Music files that the tests write themselves, with libsndfile.
#pragma once

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

// A sine (a frequency of 0: silence), the same on every channel, amplitude 1 just under full scale so
// that 16-bit files do not clip at the peaks.
struct ToneFile {
  int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16, rate = 44100, channels = 2;
  double seconds = 1.0, frequency = 1000.0, amplitude = 1.0;
};

// Writes `tone` to `path`; the test fails if libsndfile cannot.
inline void WriteTone(const std::string& path, const ToneFile& tone) {
  SF_INFO info{0, tone.rate, tone.channels, tone.format, 0, 0};
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(file, nullptr) << path << ": " << sf_strerror(nullptr);
  const auto frames = static_cast<std::size_t>(tone.seconds * tone.rate);
  std::vector<float> samples;
  for (std::size_t i = 0; i < frames; ++i) {
    const double value =
        tone.amplitude * 0.99997 * std::sin(2.0 * std::numbers::pi * tone.frequency * double(i) / tone.rate);
    samples.insert(samples.end(), static_cast<std::size_t>(tone.channels), static_cast<float>(value));
  }
  EXPECT_EQ(sf_writef_float(file, samples.data(), static_cast<sf_count_t>(frames)), static_cast<sf_count_t>(frames));
  sf_close(file);
}
