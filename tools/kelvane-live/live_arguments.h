// The command line of kelvane-live.
//
//   kelvane-live [--demo DIR] [--assets DIR] [--from MS] [--paused] [--no-hud] [--size WxH] [--silent]
//                [--help] [--version]
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct LiveArguments {
  std::string demoFolder = ".";
  std::string assetsFolder;  // the content's sources, for rebuilding with R; empty: R does nothing
  std::int32_t from = 0;  // ms
  bool paused = false;    // start paused at `from`
  bool hud = true;        // start with the HUD shown
  std::int32_t width = 640;
  std::int32_t height = 480;
  bool silent = false;  // the music on the silent output: time runs, nothing is heard
  bool help = false;
  bool version = false;
};

struct ParsedLiveArguments {
  LiveArguments arguments;
  std::string error;  // empty when the command line is valid
};

ParsedLiveArguments ParseLiveArguments(const std::vector<std::string>& words);
const char* LiveUsage();
