// Signal handlers of the offline renderer.
#include "capture/stop_request.h"

#include <signal.h>

namespace {
volatile sig_atomic_t stopSignal = 0;

void recordStop(int signal) { stopSignal = signal; }
}  // namespace

void installStopHandlers() {
  struct sigaction action {};
  action.sa_handler = recordStop;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);
}

bool stopRequested() { return stopSignal != 0; }

int stopExitStatus() { return 128 + static_cast<int>(stopSignal); }
