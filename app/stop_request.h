// The stop request of all three programs (the demo, tarvik-render and tarvik-studio; the tools
// link app/ for it): SIGINT, SIGTERM and SIGHUP only record the signal, and each program's loop
// checks it between frames and ends its own way (the demo and the studio as on Escape, an
// export by removing its partial files). SIGPIPE is ignored, so a reader that went away (an
// encoder, a pager) shows as a failed write, not a dead program.
// A frame can take far longer than a user waits (a large render on a software rasteriser), so a
// watchdog thread ends the process itself when a stop is still pending after a grace period:
// it kills the registered child processes, removes the registered partial files, prints the
// program's closing line on stderr and exits with the program's status.
// Owns: the recorded signal (writer: the handler) and the watchdog's lists (writers: the callers
// of the watch/unwatch functions, from any thread).
#pragma once
#include <sys/types.h>

#include <string>

struct StopPolicy {
  // The exit status of a process the watchdog ends; negative: 128 + the signal's number.
  int forcedExitStatus = 0;
  // Printed on stderr (with a line feed) when the watchdog ends the process; empty: nothing.
  std::string forcedEndLine;
};

// Seconds between a stop request and the watchdog ending a process that has not ended itself.
inline constexpr double stopGraceSeconds = 1.2;

// Installs the handlers and starts the watchdog; call once, before SDL starts (SDL then keeps
// ours instead of turning the signals into SDL_QUIT events).
void installStopHandlers(const StopPolicy& policy);
bool stopRequested();
// The signal that asked to stop, 0 when none did.
int stopSignal();
// 128 + the signal's number: the status that tells a caller which signal stopped the run.
int stopExitStatus();

// What the watchdog cleans up if it has to end the process.
void watchPartialFile(const std::string& path);
void unwatchPartialFile(const std::string& path);
void watchChildProcess(pid_t pid);
void unwatchChildProcess(pid_t pid);

// A run that another of our programs starts in the background (the studio's export) names
// that parent in this variable; such a run asks to stop (SIGTERM) when its parent ends, even
// killed, so no orphan renders on and leaves its partial files.
inline constexpr const char* stopWithParentVariable = "TARVIK_STOP_WITH_PARENT";
// Call after installStopHandlers; does nothing when the variable is not set.
void stopWhenParentEnds();
