// The sound layer's error codes and their messages.
//
// The layer keeps the code of the last failure (SoundLastError in sound.h); the music module turns it
// into the text of its fatal error report.
#pragma once

#include <cstdint>

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

// The message for `code`; "Unknown error" for any code without one.
const char* SoundErrorText(std::int32_t code);
