// The demo's command-line parse.
#include "app/options.h"

#include <string>

DisplaySettings parseOptions(int argc, const char* const* argv) {
  DisplaySettings parsed;
  parsed.quality = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "windowed") parsed.windowed = true;
    if (arg.find("mode=") == std::string::npos) continue;
    // The value is everything after the first five characters, so "xmode=high" gives "=high".
    const std::string value = arg.size() > 5 ? arg.substr(5) : "";
    if (value == "low") parsed.quality = 0;
    if (value == "medium") parsed.quality = 1;
    if (value == "high") parsed.quality = 2;
  }
  const SizeWH render = renderSizeForQuality(parsed.quality);
  parsed.renderWidth = render.width;
  parsed.renderHeight = render.height;
  return parsed;
}

void parseCommandLine(int argc, const char* const* argv) {
  settings = parseOptions(argc, argv);
  qualityCopy = settings.quality;
}
