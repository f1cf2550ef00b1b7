// Runs a program of the build as a child process and collects what it prints.
#pragma once
#include <signal.h>

#include <functional>
#include <string>
#include <vector>

struct ProcessResult {
  bool exited = false;   // ended by itself or after the signal, not killed by the deadline
  int exitStatus = -1;   // valid when exited
  int endSignal = 0;     // the signal that ended it (a crash, an abort), 0 when it exited
  bool timedOut = false; // killed at the deadline
  double signalledAt = -1.0;  // seconds from the start to the watch's signal; -1 when none was sent
  double endedAt = 0.0;       // seconds from the start to the end
  std::string output;    // stdout and stderr together
};

// Called about every 20 ms with the output so far and the seconds since the start; it may act
// on the world (kill a server, close a pipe) and returns true to send `signal` (SIGTERM unless
// named) to the child (once; later true results are ignored).
using ProcessWatch = std::function<bool(const std::string& output, double elapsed)>;
ProcessResult runProcessWatched(const std::vector<std::string>& args, const std::string& workingDirectory,
                                const std::vector<std::string>& env, const ProcessWatch& watch,
                                double deadlineSeconds, int signal = SIGTERM);

// Starts `args` in `workingDirectory` with the extra environment `env` ("NAME=value"; a bare
// "NAME" removes the variable).
// After `signalAfterSeconds` (if > 0) it sends SIGTERM; after `deadlineSeconds` SIGKILL.
ProcessResult runProcess(const std::vector<std::string>& args, const std::string& workingDirectory,
                         const std::vector<std::string>& env, double signalAfterSeconds, double deadlineSeconds);

// tarvik-render with `args`, run in `workingDirectory` (the source tree unless named) with the
// dummy audio driver and `env` added; killed after five minutes.
ProcessResult runRenderer(const std::vector<std::string>& args, const std::vector<std::string>& env = {},
                          const std::string& workingDirectory = "");

// The path of a program built into the build tree's top folder.
std::string builtProgram(const std::string& name);

// What a shell command line prints on stdout (empty when it cannot start).
std::string shellOutput(const std::string& command);
