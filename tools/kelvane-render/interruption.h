// Ctrl-C, a hang-up or a termination request during a render: the first one is noted, so the render
// stops after the frame in hand, closes what it has written so that it stays usable, removes its
// scratch folder and exits with 128 + the signal's number; a second one ends the program at once.
#pragma once

void CatchInterruptions();
bool Interrupted();
int InterruptingSignal();  // 0 while none came
