// Exporting a range of the demo to a video in the background: tarvik-render (beside the
// studio's own executable) runs as a child process while the studio keeps playing; its
// progress lines come through a pipe that is read without ever waiting.
// Owns: the child process (through ChildProcess) and its newest progress. Does NOT render
// anything itself.
#pragma once
#include <string>
#include <vector>

#include "tooling/child_process.h"

class VideoExport {
 public:
  VideoExport() = default;
  ~VideoExport();
  VideoExport(const VideoExport&) = delete;
  VideoExport& operator=(const VideoExport&) = delete;

  // Starts `program` with `arguments`; false with `error` set when it could not start or one
  // is still running.
  bool start(const std::string& program, const std::vector<std::string>& arguments, std::string& error);
  bool running() const { return child_.running(); }
  // Reads what the child wrote since the last call and notices its end. Returns true once,
  // when it has just ended; `exitStatus` then holds its status (-1 for a signal).
  bool poll(int& exitStatus);
  // The newest progress ("frame 120/600 (20%)"), or empty.
  const std::string& progress() const { return progress_; }
  // The last line the child wrote (its closing report or error).
  const std::string& lastLine() const { return child_.lastLine(); }
  // Ends a running child (SIGTERM, then waits for it).
  void stop();

 private:
  ChildProcess child_;
  std::string progress_;
};

// The tarvik-render next to the running executable, or "tarvik-render" from PATH.
std::string siblingProgram(const std::string& name);
// "frame 120/600 (20%), 14.2 fps, ..." gives "frame 120/600 (20%)"; other lines give "".
std::string progressOf(const std::string& line);
