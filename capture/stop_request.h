// Ctrl-C and SIGTERM as a request to stop a long offline run: the handler only records the
// signal, and the render loop checks it between frames and cleans up.
// Owns: the recorded signal (writer: the handler that installStopHandlers sets up).
// Also ignores SIGPIPE, so an encoder that went away shows as a failed write, not a dead renderer.
#pragma once

void installStopHandlers();
bool stopRequested();
// The exit status that tells the caller which signal stopped the run (128 + its number).
int stopExitStatus();
