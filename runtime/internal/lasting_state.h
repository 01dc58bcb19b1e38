// Start-up remembers the lasting state it leaves, so that every seek can start from it; shut-down
// forgets it.
#pragma once

void RememberStartState();
void ForgetStartState();
