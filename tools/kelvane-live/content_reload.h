// Watches the demo folder and its data/ and reads again what changed: "script.dlx" (ReloadScript),
// a picture of data/ (ReloadDemoTexture), the music the script names (LiveMusic::Load). Each file is
// read once per batch of changes, in that order, and each reload gives one message: "reloaded NAME",
// or the failure the demo would have reported for it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_watch.h"
#include "tools/kelvane-live/live_music.h"

struct ReloadReport {
  std::vector<std::string> messages;  // one per file read again
  bool anyLoaded = false;             // some content is new: seek again
  bool scriptLoaded = false;          // the scenes' spans may have moved
  bool musicRead = false;             // the music was read again (once per batch is enough)
};

class ContentReload {
 public:
  // `demoFolder` absolute; the demo runs in a scratch folder linked to it. Made after the script is
  // read and before the music settles its length.
  explicit ContentReload(const std::string& demoFolder);
  bool watching() const { return watching_; }

  ReloadReport ReloadChanged(LiveMusic& music);

 private:
  std::string Relative(const std::string& path) const;
  void ReloadScriptFile(LiveMusic& music, ReloadReport& report);
  void ReloadMusicFile(LiveMusic& music, ReloadReport& report);

  std::string demoFolder_;  // absolute
  FileWatch watch_;
  bool watching_ = false;
  std::int32_t scriptLength_ = 0;  // the music length as the script gives it (0: the file's own)
};
