// The demo's command-line parse.
#include "app/options.h"

#include <cstdio>
#include <string>
#include <vector>

DisplaySettings parseOptions(int argc, const char* const* argv) {
  DisplaySettings parsed;
  parsed.quality = 1;
  std::vector<std::string> unknownModes;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "windowed") parsed.windowed = true;
    if (arg.find("mode=") == std::string::npos) continue;
    // The value is everything after the first five characters, so "xmode=high" gives "=high".
    if (!parseQualityName(arg.size() > 5 ? arg.substr(5) : "", parsed.quality)) unknownModes.push_back(arg);
  }
  // An unknown value changes nothing; said once the mode in use is known, since a typed
  // "mode=hihg" otherwise looks as if it had been taken.
  for (const std::string& arg : unknownModes)
    std::printf("%s: unknown mode \"%s\" (low, medium or high), using %s\n", arg.c_str(),
                arg.size() > 5 ? arg.substr(5).c_str() : "", qualityName(parsed.quality));
  const SizeWH render = renderSizeForQuality(parsed.quality);
  parsed.renderWidth = render.width;
  parsed.renderHeight = render.height;
  return parsed;
}

void parseCommandLine(int argc, const char* const* argv) {
  settings = parseOptions(argc, argv);
  qualityCopy = settings.quality;
}
