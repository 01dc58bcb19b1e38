// One run of kelvane-live: the demo started in a window (the demo's own start-up, in a scratch folder
// linked to the demo folder), its music decoded and played through a transport, then frames until
// Escape or the close box.
//
// Every time change (a key, a click, the loop, the end) is a seek (runtime.h), so the frame shown is
// the one a run drawing every frame before it would show. While paused, the same frame is drawn again
// from the same lasting state, so the window stays live and stays exact. The music plays from the
// decoded frames of the same music, so it follows every seek; without a sound device it keeps its
// time on the silent output, with one warning.
//
// The demo folder and its data/ are watched: a changed "script.dlx", picture or music file is read
// again before the next frame and the time is sought again. A file that fails keeps the last working
// content playing; its message (the report the demo would have made) goes to the HUD and to standard
// error, and mending the file reloads it.
//
// Each change is said on standard error once the first frame that shows it is on screen: "paused at
// 00:30.000", "playing from 00:30.000", "at 00:31.000" (a seek), "loop in at ...", "loop out at ...",
// "looping on", "reloaded script.dlx" or the failure, so that a script driving the player knows what
// the window shows.
#pragma once

#include "tools/kelvane-live/live_arguments.h"

// 0 after Escape or the close box; 1 when the demo folder is not usable. A failure of the demo's own
// start-up is its fatal error report, as in the demo.
int RunLiveSession(const LiveArguments& arguments);
