// Parsing and validating the offline renderer's options.
#include "app/offline_options.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "timeline/demo_parts.h"

namespace {

bool parseNumber(const char* text, double& value) {
  char* end = nullptr;
  value = std::strtod(text, &end);
  return end != text && *end == '\0' && std::isfinite(value);
}

bool parseInt(const char* text, int& value) {
  char* end = nullptr;
  const long parsed = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || parsed <= 0 || parsed > 16384) return false;
  value = static_cast<int>(parsed);
  return true;
}

bool parseSize(const std::string& text, int& width, int& height) {
  const size_t x = text.find('x');
  return x != std::string::npos && parseInt(text.substr(0, x).c_str(), width) &&
         parseInt(text.substr(x + 1).c_str(), height);
}

bool parseQuality(const std::string& text, int& quality) {
  if (text == "low") quality = 0;
  else if (text == "medium") quality = 1;
  else if (text == "high") quality = 2;
  else return false;
  return true;
}

bool inSong(double t) { return t >= 0.0 && t <= demoEndTime; }

// Applies one "--name value" pair; false with `error` set when it is wrong.
bool applyOption(OfflineOptions& o, const std::string& name, const char* value, bool& sawTime, bool& sawFrom,
                 bool& sawTo, std::string& error) {
  bool ok = true;
  if (name == "--time") ok = sawTime = parseNumber(value, o.time);
  else if (name == "--from") ok = sawFrom = parseNumber(value, o.from);
  else if (name == "--to") ok = sawTo = parseNumber(value, o.to);
  else if (name == "--out") o.out = value;
  else if (name == "--size") ok = parseSize(value, o.width, o.height);
  else if (name == "--quality") ok = parseQuality(value, o.quality);
  else if (name == "--render") ok = parseInt(value, o.renderSize);
  else if (name == "--fps") ok = parseNumber(value, o.fps) && o.fps > 0.0 && o.fps <= 1000.0;
  else {
    error = "unknown option " + name;
    return false;
  }
  if (!ok) error = "bad value for " + name + ": " + value;
  return ok;
}

}  // namespace

std::optional<OfflineOptions> parseOfflineOptions(int argc, const char* const* argv, std::string& error) {
  OfflineOptions o;
  bool sawTime = false, sawFrom = false, sawTo = false;
  for (int i = 1; i < argc; i += 2) {
    if (i + 1 >= argc) {
      error = std::string("missing value for ") + argv[i];
      return std::nullopt;
    }
    if (!applyOption(o, argv[i], argv[i + 1], sawTime, sawFrom, sawTo, error)) return std::nullopt;
  }
  o.range = sawFrom || sawTo;
  if (o.out.empty()) error = "missing --out";
  else if (o.range && sawTime) error = "use either --time or --from/--to";
  else if (o.range && !(sawFrom && sawTo)) error = "--from and --to go together";
  else if (!o.range && !sawTime) error = "missing --time (or --from/--to)";
  else if (!o.range && !inSong(o.time)) error = "time outside 0 to 259 seconds";
  else if (o.range && (!inSong(o.from) || !inSong(o.to))) error = "time outside 0 to 259 seconds";
  else if (o.range && o.to < o.from) error = "--to comes before --from";
  if (!error.empty()) return std::nullopt;
  return o;
}

// The small tolerance keeps 10 s at 60 fps on frame 600 despite binary rounding.
long frameAtOrBefore(double seconds, double fps) { return static_cast<long>(std::floor(seconds * fps + 1e-6)); }
long frameAtOrAfter(double seconds, double fps) { return static_cast<long>(std::ceil(seconds * fps - 1e-6)); }
