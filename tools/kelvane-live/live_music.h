// The live player's music: the file the script names, decoded as the stream plays it, heard through
// a transport that pauses and seeks (platform/sound.h), and the spectrum each frame reads, taken from
// the same decoded frames as the renderer takes it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/diagnostics.h"
#include "platform/sound.h"
#include "tools/common/music_samples.h"

class LiveMusic {
 public:
  // The sound layer on the device, or silent; a device that cannot be opened gives the silent
  // output and `warning` says why.
  LiveMusic(bool silent, std::string& warning);
  ~LiveMusic();
  LiveMusic(const LiveMusic&) = delete;
  LiveMusic& operator=(const LiveMusic&) = delete;

  // Decodes the music the script names (musicFile at musicOffset) and settles musicLength as start-up
  // does. A file that cannot be read changes nothing and comes back as the report start-up would make
  // ("FMOD"); no music named: silence, a length of 0.
  MaybeFailure Load();

  // The last moment the demo shows: the music length - 100 ms.
  std::int32_t Last() const;
  void Seek(std::int32_t ms) { SoundTransportSeek(transport_, ms); }
  void Pause(bool paused) { SoundTransportPause(transport_, paused); }
  std::int32_t TimeMs() const;
  void SpectrumAt(std::int32_t ms, float* values) const { samples_.SpectrumAt(ms, values); }

 private:
  SoundTransport* transport_ = nullptr;
  MusicSamples samples_{{}};
};
