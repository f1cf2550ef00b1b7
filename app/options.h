// The command line: the exact argument "windowed" and "mode=low|medium|high".
// Writes settings (render/display_settings.h); every other argument is ignored.
#pragma once
#include <string>

#include "render/display_settings.h"

// "low", "medium" or "high" to 0, 1 or 2; false (quality untouched) for anything else.
bool parseQualityName(const std::string& text, int& quality);
// The name of quality 0, 1 or 2 (clamped, as the render sizes are).
const char* qualityName(int quality);
// Pure parse (an unknown mode value is one line on stdout): the settings the arguments select (window size still 0: display init sets it).
DisplaySettings parseOptions(int argc, const char* const* argv);
// Parses into the process-wide settings and publishes qualityCopy.
void parseCommandLine(int argc, const char* const* argv);

struct SizeWH {
  int width;
  int height;
};
SizeWH renderSizeForQuality(int quality);
SizeWH windowedSizeForQuality(int quality);
