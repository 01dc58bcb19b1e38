// kelvane: the demo. It reads no command line; everything comes from the Config dialog, the script
// and the files in the working directory.
#include "runtime/runtime.h"

int main() { return RunDemo(); }
