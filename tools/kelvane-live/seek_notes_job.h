// kelvane-render run in the background to note the whole demo for the exact seek (tools/common/
// seek_notes.h), so that the player's seeks become exact a few seconds after it starts, or after a
// new script. It renders the last moment at the player's size into a scratch picture and is stopped
// when the player goes.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

class SeekNotesJob {
 public:
  // Starts `renderer` on `demoFolder` (absolute), noting up to `last` ms at `fps` and width x height.
  SeekNotesJob(const std::string& renderer, const std::string& demoFolder, std::int32_t last, std::int32_t fps,
               std::int32_t width, std::int32_t height);
  ~SeekNotesJob();
  SeekNotesJob(const SeekNotesJob&) = delete;
  SeekNotesJob& operator=(const SeekNotesJob&) = delete;

  // True once the renderer has ended (whether or not it could note anything), false while it runs.
  bool Ended();

 private:
  pid_t child_ = -1;
  std::string picture_;
};
