// The studio's command line, parsed with CLI11: where to start playing, the quality level and
// the render size. Owns: StudioOptions, its parse and the --help text. Does NOT touch the
// process-wide display settings: the session applies the options at start-up.
#pragma once
#include <optional>
#include <string>

struct StudioOptions {
  float start = 0.0f;     // --start T, or the start of the part given by --part N
  int quality = 1;        // mode=low|medium|high, as the demo spells it
  int renderSize = 0;     // --render N overrides the quality's square render size; 0 keeps it
  int windowWidth = 0;    // 0: the quality's windowed size (only tests choose another)
  int windowHeight = 0;
};

// What the command line asks for: a run with options, the help text, or an error line.
struct StudioCommandLine {
  std::optional<StudioOptions> options;  // set for a run
  std::string help;                      // set for --help: print it and exit 0
  std::string error;                     // set when the line is wrong: one line, exit 1
};

StudioCommandLine parseStudioCommandLine(int argc, const char* const* argv);
