// The studio's command line: where to start playing, the quality level and the render size.
// Owns: StudioOptions and its parse. Does NOT touch the process-wide display settings: the
// session applies the options at start-up.
#pragma once
#include <optional>
#include <string>

struct StudioOptions {
  float start = 0.0f;     // --start T, or the start of the part given by --part N
  int quality = 1;        // mode=low|medium|high, as the demo spells it
  int renderSize = 0;     // --render N overrides the quality's square render size; 0 keeps it
  int windowWidth = 0;    // 0: the quality's windowed size (only tests choose another)
  int windowHeight = 0;
  bool help = false;      // --help: print the usage and the keys, start nothing
};

// The options, or nullopt with `error` saying in one line what is wrong.
std::optional<StudioOptions> parseStudioOptions(int argc, const char* const* argv, std::string& error);

// One line of usage.
const char* studioUsage();
