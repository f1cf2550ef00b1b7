// Runs a program of the build as a child process and collects what it prints.
#pragma once
#include <string>
#include <vector>

struct ProcessResult {
  bool exited = false;   // ended by itself or after the signal, not killed by the deadline
  int exitStatus = -1;   // valid when exited
  std::string output;    // stdout and stderr together
};

// Starts `args` in `workingDirectory` with the extra environment `env` ("NAME=value").
// After `signalAfterSeconds` (if > 0) it sends SIGTERM; after `deadlineSeconds` SIGKILL.
ProcessResult runProcess(const std::vector<std::string>& args, const std::string& workingDirectory,
                         const std::vector<std::string>& env, double signalAfterSeconds, double deadlineSeconds);

// The path of a program built into the build tree's top folder.
std::string builtProgram(const std::string& name);
