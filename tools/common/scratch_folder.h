// A working folder for a demo run by a tool: under the system's temporary folder, linking to
// everything in the demo folder, so the run's "debug.txt" (and an "error.txt") never land in the demo
// folder or the user's. The folder is removed when the program ends, on the failure paths too.
#pragma once

#include <string>

// Makes the scratch folder and enters it; false with `error` set when that fails. `prefix` names it
// ("kelvane-render" gives /tmp/kelvane-render-XXXXXX).
bool EnterScratchFolder(const std::string& demoFolder, const std::string& prefix, std::string& error);
// Leaves and removes it (also done at exit).
void RemoveScratchFolder();
// Links what has appeared in the demo folder since (a music file the script names anew, say).
void LinkNewDemoEntries();
