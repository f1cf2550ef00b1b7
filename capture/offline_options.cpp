// Parsing and validating the offline renderer's options.
#include "capture/offline_options.h"
#include "tooling/tool_setup.h"

#include <algorithm>
#include <cctype>
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

// One time, or several separated by commas.
bool parseTimes(const std::string& text, std::vector<double>& times) {
  times.clear();
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    double value = 0.0;
    if (!parseNumber(text.substr(start, comma - start).c_str(), value)) return false;
    times.push_back(value);
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

// "cpu" (the default) advances earlier frames without drawing; "full" is the slow reference.
bool parseSimulation(const std::string& text, bool& full) {
  if (text != "cpu" && text != "full") return false;
  full = text == "full";
  return true;
}

bool inSong(double t) { return t >= 0.0 && t <= demoEndTime; }

bool endsWith(const std::string& text, const std::string& suffix) {
  if (text.size() < suffix.size()) return false;
  for (size_t i = 0; i < suffix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[text.size() - suffix.size() + i])) != suffix[i]) return false;
  return true;
}

OutputKind kindOfOutput(const std::string& out, bool range, size_t stills) {
  if (endsWith(out, ".mp4")) return OutputKind::mp4;
  if (endsWith(out, ".mkv")) return OutputKind::mkv;
  if (endsWith(out, ".wav")) return OutputKind::wav;
  return range || stills > 1 ? OutputKind::frames : OutputKind::still;
}

// Checks that only concern videos and sound spans; empty when all is well.
std::string spanError(const OfflineOptions& o) {
  const bool timed = o.kind == OutputKind::mp4 || o.kind == OutputKind::mkv || o.kind == OutputKind::wav;
  if (!timed) return "";
  if (!o.range) return "a video or sound file needs --from and --to";
  if (frameAtOrAfter(o.to, o.fps) - frameAtOrAfter(o.from, o.fps) < 1) return "the span from --from to --to holds no frame";
  // 4:2:0 colour halves both directions; the lossless master keeps full RGB and takes any size.
  if (o.kind == OutputKind::mp4 && (o.width % 2 || o.height % 2))
    return "an .mp4 needs an even width and height (4:2:0 colour), not " + std::to_string(o.width) + "x" +
           std::to_string(o.height);
  return "";
}

// Applies one "--name value" pair; false with `error` set when it is wrong.
bool applyOption(OfflineOptions& o, const std::string& name, const char* value, bool& sawTime, bool& sawFrom,
                 bool& sawTo, std::string& error) {
  bool ok = true;
  if (name == "--time") {
    ok = sawTime = parseTimes(value, o.times);
    if (ok) o.time = o.times.front();
  }
  else if (name == "--from") ok = sawFrom = parseNumber(value, o.from);
  else if (name == "--to") ok = sawTo = parseNumber(value, o.to);
  else if (name == "--out") o.out = value;
  else if (name == "--size") ok = parseSize(value, o.width, o.height);
  else if (name == "--quality") ok = parseQualityName(value, o.quality);
  else if (name == "--render") ok = parseInt(value, o.renderSize);
  else if (name == "--fps") ok = parseNumber(value, o.fps) && o.fps > 0.0 && o.fps <= 1000.0;
  else if (name == "--simulate") ok = parseSimulation(value, o.fullSimulation);
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
  for (int i = 1; i < argc;) {
    const std::string name = argv[i];
    if (name == "--quiet" || name == "--no-sound") {  // the two options that take no value
      if (name == "--quiet") o.quiet = true;
      else o.sound = false;
      ++i;
      continue;
    }
    if (i + 1 >= argc) {
      error = "missing value for " + name;
      return std::nullopt;
    }
    if (!applyOption(o, name, argv[i + 1], sawTime, sawFrom, sawTo, error)) return std::nullopt;
    i += 2;
  }
  o.range = sawFrom || sawTo;
  o.kind = kindOfOutput(o.out, o.range, o.times.size());
  if (o.out.empty()) error = "missing --out";
  else if (o.range && sawTime) error = "use either --time or --from/--to";
  else if (o.range && !(sawFrom && sawTo)) error = "--from and --to go together";
  else if (!o.range && !sawTime) error = "missing --time (or --from/--to)";
  else if (!o.range && !std::all_of(o.times.begin(), o.times.end(), inSong)) error = "time outside 0 to 259 seconds";
  else if (o.range && (!inSong(o.from) || !inSong(o.to))) error = "time outside 0 to 259 seconds";
  else if (o.range && o.to < o.from) error = "--to comes before --from";
  else error = spanError(o);
  if (!error.empty()) return std::nullopt;
  return o;
}

// The small tolerance keeps 10 s at 60 fps on frame 600 despite binary rounding.
long frameAtOrBefore(double seconds, double fps) { return static_cast<long>(std::floor(seconds * fps + 1e-6)); }
long frameAtOrAfter(double seconds, double fps) { return static_cast<long>(std::ceil(seconds * fps - 1e-6)); }
