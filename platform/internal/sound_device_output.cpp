#include "platform/internal/sound_device_output.h"

#include <SDL.h>

#include "platform/sound.h"

namespace {

// About 23 ms at 44100 Hz: short enough for a tight clock, long enough not to starve.
constexpr Uint16 kDeviceBufferFrames = 1024;
constexpr std::size_t kFrameBytes = 2 * sizeof(float);

class DeviceOutput : public SoundOutput {
 public:
  explicit DeviceOutput(SoundPull pull) : pull_(pull) {}
  ~DeviceOutput() override {
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  // SDL's audio is started by the caller; this object quits it again whatever happens.
  bool Open(std::int32_t mixRate) {
    SDL_AudioSpec wanted{};
    wanted.freq = mixRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 2;
    wanted.samples = kDeviceBufferFrames;
    wanted.callback = &DeviceOutput::Fill;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device_ == 0) return false;
    deviceFrames_ = obtained.samples;
    SDL_PauseAudioDevice(device_, 0);
    return true;
  }

 private:
  static void Fill(void* self, Uint8* bytes, int length) {
    auto& output = *static_cast<DeviceOutput*>(self);
    const std::size_t frames = static_cast<std::size_t>(length) / kFrameBytes;
    // While this buffer waits, the one before it is playing: both are still ahead of the listener.
    const std::int64_t queued = static_cast<std::int64_t>(frames) + output.deviceFrames_;
    output.pull_(reinterpret_cast<float*>(bytes), frames, queued, std::chrono::steady_clock::now());
  }

  SoundPull pull_;
  SDL_AudioDeviceID device_ = 0;
  std::int64_t deviceFrames_ = 0;
};

}  // namespace

std::unique_ptr<SoundOutput> OpenDeviceOutput(std::int32_t mixRate, SoundPull pull, std::int32_t& error) {
  error = kSoundOutputDeviceFailed;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
  auto output = std::make_unique<DeviceOutput>(pull);
  if (!output->Open(mixRate)) return nullptr;
  error = kSoundNoError;
  return output;
}
