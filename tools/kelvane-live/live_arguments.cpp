#include "tools/kelvane-live/live_arguments.h"

#include <charconv>
#include <limits>

namespace {

constexpr std::int32_t kLargestSide = 16384;

bool ParseInteger(const std::string& text, std::int64_t low, std::int64_t high, std::int32_t& value) {
  std::int64_t parsed = 0;
  const char* end = text.data() + text.size();
  const auto [stop, status] = std::from_chars(text.data(), end, parsed);
  if (status != std::errc() || stop != end || parsed < low || parsed > high) return false;
  value = std::int32_t(parsed);
  return true;
}

bool ParseSize(const std::string& text, std::int32_t& width, std::int32_t& height) {
  const std::size_t cross = text.find('x');
  return cross != std::string::npos && ParseInteger(text.substr(0, cross), 1, kLargestSide, width) &&
         ParseInteger(text.substr(cross + 1), 1, kLargestSide, height);
}

}  // namespace

ParsedLiveArguments ParseLiveArguments(const std::vector<std::string>& words) {
  ParsedLiveArguments parsed;
  LiveArguments& arguments = parsed.arguments;
  const auto value = [&](std::size_t& k, const std::string& option) -> const std::string* {
    if (k + 1 < words.size()) return &words[++k];
    parsed.error = option + " needs a value";
    return nullptr;
  };
  for (std::size_t k = 0; k < words.size() && parsed.error.empty(); ++k) {
    const std::string& option = words[k];
    if (option == "--help" || option == "-h") arguments.help = true;
    else if (option == "--version") arguments.version = true;
    else if (option == "--paused") arguments.paused = true;
    else if (option == "--no-hud") arguments.hud = false;
    else if (option == "--silent") arguments.silent = true;
    else if (option == "--demo") {
      if (const std::string* folder = value(k, option)) arguments.demoFolder = *folder;
    } else if (option == "--assets") {
      if (const std::string* folder = value(k, option)) arguments.assetsFolder = *folder;
    } else if (option == "--from") {
      const std::string* time = value(k, option);
      if (time && !ParseInteger(*time, 0, std::numeric_limits<std::int32_t>::max(), arguments.from))
        parsed.error = "--from takes a whole number of milliseconds from 0, not '" + *time + "'";
    } else if (option == "--size") {
      const std::string* size = value(k, option);
      if (size && !ParseSize(*size, arguments.width, arguments.height))
        parsed.error = "--size takes WIDTHxHEIGHT (1 to " + std::to_string(kLargestSide) + " each), not '" + *size + "'";
    } else {
      parsed.error = "unknown option '" + option + "' (see --help)";
    }
  }
  return parsed;
}

const char* LiveUsage() {
  return "Usage: kelvane-live [--demo DIR] [--assets DIR] [--from MS] [--paused] [--no-hud] [--size WxH]\n"
         "                    [--silent]\n"
         "\n"
         "Plays the demo in a window with a transport, a HUD, and reloading of what you edit.\n"
         "\n"
         "  --demo DIR   the folder with script.dlx, data/ and the music (default: ., or the\n"
         "               installed content when . has no script.dlx)\n"
         "  --assets DIR the content's sources (the assets/ folder of the source tree): R rebuilds\n"
         "               the pictures and the music from them with make-pictures and make-music,\n"
         "               copies its script.dlx, and replaces what changed in the demo folder\n"
         "  --from MS    start at this music time (default 0)\n"
         "  --paused     start paused\n"
         "  --no-hud     start with the HUD hidden\n"
         "  --size WxH   the window's size (default 640x480)\n"
         "  --silent     keep time without sound (also the fallback when there is no sound device)\n"
         "  --help       this text\n"
         "  --version    the program's version\n"
         "\n"
         "Keys: Space pause/play; Left/Right -1 s/+1 s (Shift 100 ms, Ctrl 10 s); PageUp/PageDown the\n"
         "previous/next scene start; Home 0; I/O loop in/out at the playhead; L looping on/off; H the\n"
         "HUD; R rebuilds the content (with --assets); Escape quits. A click on the HUD's timeline bar\n"
         "seeks there.\n"
         "\n"
         "Every time change is a seek: paused at T with the HUD hidden, the window shows what\n"
         "kelvane-render --at T draws at the same size. Right after the start, and after a new\n"
         "script, kelvane-render notes the demo in the background (a few seconds); until it is done,\n"
         "seeks are quick and may round a few pixels one step apart. script.dlx, data/*.hwl and the\n"
         "music are reloaded when they change, keeping the time; a broken file keeps the last working\n"
         "content playing and its message is shown, and mending it reloads it.\n";
}
