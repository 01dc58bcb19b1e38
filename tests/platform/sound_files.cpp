#include "tests/platform/sound_files.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <numbers>
#include <vector>

void WriteTone(const std::filesystem::path& path, const ToneFile& tone) {
  SF_INFO info{};
  info.samplerate = tone.rate;
  info.channels = tone.channels;
  info.format = tone.format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(file, nullptr) << path << ": " << sf_strerror(nullptr);
  const auto frames = static_cast<std::size_t>(tone.seconds * tone.rate);
  std::vector<float> samples(frames * static_cast<std::size_t>(tone.channels));
  for (std::size_t i = 0; i < frames; ++i) {
    const double phase = 2.0 * std::numbers::pi * tone.frequency * static_cast<double>(i) / tone.rate;
    // Just under full scale, so that 16-bit files do not clip at the peaks.
    const auto value = static_cast<float>(tone.amplitude * 0.99997 * std::sin(phase));
    for (int c = 0; c < tone.channels; ++c) samples[i * static_cast<std::size_t>(tone.channels) + static_cast<std::size_t>(c)] = value;
  }
  EXPECT_EQ(sf_writef_float(file, samples.data(), static_cast<sf_count_t>(frames)), static_cast<sf_count_t>(frames));
  sf_close(file);
}

ScratchFolder::ScratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kelvane-sound-XXXXXX").string();
  path_ = mkdtemp(pattern.data());
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}
