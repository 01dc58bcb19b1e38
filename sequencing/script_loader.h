// The script loader: reads "script.dlx", places the scenes on the timelines and names the music.
//
// Every command line is logged to "debug.txt" as it is executed; the first malformed command ends
// the program through the fatal error report (module "zenTimeline"), with the lines logged so far
// left in the log. Commands: "@music", "@scene", "@fx" (matched exactly, case matters); any other
// line, or any other word after "@", has no effect.
//
// Two checks guard the timelines: a timeline id that names no timeline in `timelineTable` fails with
// the Timeline ID message, and a span that would reach outside 0 to 600000 fails with
// "Something is wrong with the Script! (Scene span outside the timeline)". A script of more than
// 100000 lines is refused before any of its lines runs.
#pragma once

#include <cstdint>
#include <string_view>

inline constexpr std::int32_t kMaxScriptLines = 100000;

// Reads the file `fileName` (cut to 255 characters). A file that cannot be opened fails with
// "Could not load Script file!"; a read error after that is the runtime I/O error.
void LoadScript(std::string_view fileName);

// The same on a script held in memory: any bytes at all are safe.
void LoadScriptText(std::string_view text);
