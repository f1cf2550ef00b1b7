// The process-wide display settings (their writers are named in the header) and the sizes of
// each quality level with its name.
#include "render/display_settings.h"

DisplaySettings settings;
int qualityCopy = 1;

namespace {
constexpr SizeWH renderSizes[] = {{512, 512}, {768, 768}, {1280, 1280}};
constexpr SizeWH windowedSizes[] = {{896, 504}, {1280, 720}, {1536, 864}};

const char* const qualityNames[] = {"low", "medium", "high"};

int clampQuality(int quality) { return quality < 0 ? 0 : quality > 2 ? 2 : quality; }
}  // namespace

bool parseQualityName(const std::string& text, int& quality) {
  for (int level = 0; level < 3; ++level)
    if (text == qualityNames[level]) {
      quality = level;
      return true;
    }
  return false;
}

const char* qualityName(int quality) { return qualityNames[clampQuality(quality)]; }

SizeWH renderSizeForQuality(int quality) { return renderSizes[clampQuality(quality)]; }
SizeWH windowedSizeForQuality(int quality) { return windowedSizes[clampQuality(quality)]; }
