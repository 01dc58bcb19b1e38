// With --assets DIR, the R key rebuilds the demo's content from its sources while the demo plays:
//
//   make-pictures --assets DIR --out STAGE     the 22 pictures, from DIR/textures and the tool's code
//   make-music --ogg STAGE/<music>             the music the script names (kelvane.ogg by default),
//                                              when it is an .ogg inside the demo folder
//   DIR/script.dlx                             the running order
//
// The builders run one after the other in the background, into a staging folder. When both have
// succeeded, each output that differs from the demo folder's file replaces it (written beside it and
// renamed into place), so only what changed reaches the demo folder, where the watcher reloads it
// like any edit. A builder that fails replaces nothing; its last line of standard error is the
// message. The builders are looked for next to kelvane-live as the build tree lays them out
// (../make-pictures/make-pictures), then beside it, then on PATH.
#pragma once

#include <string>
#include <vector>

class ContentRebuild {
 public:
  // Both folders absolute.
  ContentRebuild(std::string assetsFolder, std::string demoFolder);
  ~ContentRebuild();
  ContentRebuild(const ContentRebuild&) = delete;
  ContentRebuild& operator=(const ContentRebuild&) = delete;

  bool running() const { return child_ > 0; }
  // Starts a rebuild (nothing while one runs); `musicName` is the music file the script names, relative
  // to the demo folder. Returns the message to show.
  std::string Start(const std::string& musicName);
  // Never waits: the messages of steps that ended since the last call.
  std::vector<std::string> Poll();

 private:
  bool SpawnNext(std::vector<std::string>& messages);
  void Install(std::vector<std::string>& messages);
  void Finish();

  std::string assets_;
  std::string demo_;
  std::string stage_;      // the staging folder while a rebuild runs
  std::string musicName_;  // as the script names it
  int step_ = 0;           // 0: make-pictures, 1: make-music
  int steps_ = 2;          // 1 when the script names a music make-music cannot write
  int child_ = -1;         // the running builder's process id
};
