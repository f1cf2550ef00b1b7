// The command line: the exact argument "windowed" and "mode=low|medium|high".
// Writes settings (render/display_settings.h); every other argument is ignored.
#pragma once
#include "render/display_settings.h"

// Pure parse (an unknown mode value is one line on stdout): the settings the arguments select
// (window size still 0: display init sets it).
DisplaySettings parseOptions(int argc, const char* const* argv);
// Parses into the process-wide settings and publishes qualityCopy.
void parseCommandLine(int argc, const char* const* argv);

