// The music's shared state: what the script names, and the per-frame time and spectrum.
//
// The script loader writes `musicFile`, `musicOffset`, `musicLength` and `musicOn`; StartMusic reads
// them (and replaces a length of 0 by the stream's own). The frame loop sets `musicTime` and
// `spectrum` once per frame; the timeline and the scenes only read them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

inline constexpr std::int32_t kSpectrumValues = 512;

// The file of the last "@music" line exactly as written; none when the script had no "@music" line
// (then no music is started and none is stopped).
extern std::optional<std::string> musicFile;
extern std::int32_t musicOffset;  // handed to the stream open as its byte offset
extern std::int32_t musicLength;  // milliseconds; the loop ends past musicLength - 100
extern bool musicOn;              // audible output, or the silent one

extern std::int32_t musicTime;                // milliseconds, fixed for one frame
extern float spectrum[kSpectrumValues];       // 0 to 1 per bin, as of this frame

// Back to the state at program start (for tests that load several scripts in one process).
void ResetMusicState();
