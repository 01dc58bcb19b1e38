#include "sequencing/sequencing.h"

#include <algorithm>

std::optional<std::string> musicFile;
std::int32_t musicOffset = 0;
std::int32_t musicLength = 0;
bool musicOn = false;

std::int32_t musicTime = 0;
float spectrum[kSpectrumValues] = {};

void ResetMusicState() {
  musicFile.reset();
  musicOffset = 0;
  musicLength = 0;
  musicOn = false;
  musicTime = 0;
  std::fill(std::begin(spectrum), std::end(spectrum), 0.0f);
}
