// Command-line parse and the sizes of each quality level.
#include "app/options.h"

#include <string>

namespace {
constexpr SizeWH renderSizes[] = {{512, 512}, {768, 768}, {1280, 1280}};
constexpr SizeWH windowedSizes[] = {{896, 504}, {1280, 720}, {1536, 864}};

int clampQuality(int quality) { return quality < 0 ? 0 : quality > 2 ? 2 : quality; }
}  // namespace

SizeWH renderSizeForQuality(int quality) { return renderSizes[clampQuality(quality)]; }
SizeWH windowedSizeForQuality(int quality) { return windowedSizes[clampQuality(quality)]; }

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
