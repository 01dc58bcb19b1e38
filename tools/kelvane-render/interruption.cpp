#include "tools/kelvane-render/interruption.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t caught = 0;

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void NoteInterruption(int signal) {
  caught = signal;
  // The next one takes the default way out.
  for (int each : kSignals) std::signal(each, SIG_DFL);
}

}  // namespace

void CatchInterruptions() {
  for (int each : kSignals) std::signal(each, NoteInterruption);
}

bool Interrupted() { return caught != 0; }

int InterruptingSignal() { return caught; }
