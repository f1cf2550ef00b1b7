// Parsing the studio's options.
#include "studio/options.h"
#include "tooling/tool_setup.h"

#include <cmath>
#include <cstdlib>

#include "timeline/demo_parts.h"

namespace {

bool parseSeconds(const std::string& text, float& seconds) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || *end != '\0' || !std::isfinite(value) || value < 0.0 || value > demoEndTime)
    return false;
  seconds = static_cast<float>(value);
  return true;
}

bool parseCount(const std::string& text, int low, int high, int& count) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || *end != '\0' || value < low || value > high) return false;
  count = static_cast<int>(value);
  return true;
}

// The demo's own spelling: the text after a leading "mode=".
bool parseMode(const std::string& value, int& quality) { return parseQualityName(value, quality); }

}  // namespace

const char* studioUsage() {
  return "usage: tarvik-studio [--start T | --part N] [mode=low|medium|high] [--render N]";
}

std::optional<StudioOptions> parseStudioOptions(int argc, const char* const* argv, std::string& error) {
  StudioOptions options;
  bool sawStart = false, sawPart = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool takesValue = arg == "--start" || arg == "--part" || arg == "--render";
    if (takesValue && i + 1 >= argc) {
      error = "missing value for " + arg;
      return std::nullopt;
    }
    bool ok = true;
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--start") {
      ok = sawStart = parseSeconds(argv[++i], options.start);
    } else if (arg == "--part") {
      int part = 0;
      ok = sawPart = parseCount(argv[++i], 1, 8, part);
      if (ok) options.start = makeDemoTimeline()[part - 1].start;
    } else if (arg == "--render") {
      ok = parseCount(argv[++i], 1, 16384, options.renderSize);
    } else if (arg.rfind("mode=", 0) == 0) {
      ok = parseMode(arg.substr(5), options.quality);
    } else {
      error = "unknown option " + arg;
      return std::nullopt;
    }
    if (!ok) {
      error = "bad value for " + arg + (takesValue ? std::string(": ") + argv[i] : std::string());
      return std::nullopt;
    }
  }
  if (sawStart && sawPart) {
    error = "use either --start or --part";
    return std::nullopt;
  }
  return options;
}
