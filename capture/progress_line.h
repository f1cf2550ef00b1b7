// Progress of a long offline run on stderr, and the line that closes it: frames done of total, frames per second, elapsed
// and estimated time left. On a terminal one line is rewritten in place; otherwise (a log, a
// pipe, GNU parallel) a plain line is printed every five percent; quiet prints nothing.
// Does NOT time anything itself: the caller passes the elapsed seconds.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

// "frame 120/600 (20%), 14.2 fps, 0:08 elapsed, 0:34 left"
std::string formatProgress(long done, long total, double elapsedSeconds);
// "0:08", "12:34", "1:02:03"
std::string formatDuration(double seconds);
// The closing line of a run that wrote frames, "wrote clip.mp4 (1280x720, 600 frames, 10 s)";
// a still or stills name their song times instead: "wrote x.png (320x180, 1 frame at 10 s)",
// at most five of them, and how many times were given when several fell on one frame.
std::string formatWrote(const std::string& out, int width, int height, long frames, double seconds);
std::string formatWroteStills(const std::string& out, int width, int height, const std::vector<double>& times,
                              long frames);

class ProgressLine {
 public:
  enum class Mode { quiet, terminal, plain };
  // The mode a run gets from --quiet and whether stderr is a terminal.
  static Mode modeFor(bool quiet);

  ProgressLine(long total, Mode mode, const std::string& label, FILE* out = stderr);
  // After each frame: `done` frames of the total are finished.
  void update(long done, double elapsedSeconds);
  // Ends the terminal line so later messages start on a fresh one.
  void finish();

 private:
  long total_;
  Mode mode_;
  std::string label_;
  FILE* out_;
  long nextPlainStep_ = 1;      // the next twentieth of the total that earns a plain line
  double lastTerminalDraw_ = -1.0;
  bool lineOpen_ = false;
};
