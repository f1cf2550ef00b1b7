// The offline renderer's command line: its options on CLI11, then the checks that concern
// several options at once.
#include "capture/offline_options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>

#include "timeline/demo_parts.h"

namespace {

const char* const outputKinds =
    "Output kinds (--out):\n"
    "  NAME.png   one still (--time T)\n"
    "  DIR/       numbered stills DIR/frame_NNNNNN.png (--time T1,T2,... or --from/--to); a name\n"
    "             without an extension, or an existing folder, is a folder too; created if missing\n"
    "  NAME.mp4   H.264 (yuv420p, BT.709 tags) with AAC sound (--from/--to)\n"
    "  NAME.mkv   lossless master: FFV1 in RGB with FLAC sound (--from/--to)\n"
    "  NAME.wav   the sound of the span alone (--from/--to)\n"
    "Frame k is at song time k / fps; every frame before the first written one is simulated.\n"
    "The benchmark: tarvik-render --bench [--quality Q] [--size WxH] [--render N] [--frames N]\n"
    "               [--csv FILE] [--compare OLD.csv]\n";

// One time, or several separated by commas, each within the song.
bool parseTimes(const std::string& text, std::vector<double>& times) {
  times.clear();
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    const auto value = numberIn(text.substr(start, comma - start), 0.0, demoEndTime);
    if (!value) return false;
    times.push_back(*value);
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

std::string lowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

const CLI::Validator songTimes(
    [](std::string& text) {
      std::vector<double> times;
      return parseTimes(text, times) ? std::string() : "not times from 0 to 259 seconds: " + text;
    },
    "");

// A folder takes every frame from --from to --to; a video or sound span stops before the
// frame at --to, so that segments rendered apart join without a repeated frame.
long framesInSpan(const OfflineOptions& o) {
  if (o.kind == OutputKind::frames) return frameAtOrBefore(o.to, o.fps) - frameAtOrAfter(o.from, o.fps) + 1;
  return videoFrameCount(o.from, o.to, o.fps);
}

// Checks that only concern videos and sound spans; empty when all is well.
std::string spanError(const OfflineOptions& o) {
  const bool timed = o.kind == OutputKind::mp4 || o.kind == OutputKind::mkv || o.kind == OutputKind::wav;
  if (!timed) return "";
  if (!o.range) return "a video or sound file needs --from and --to";
  // 4:2:0 colour halves both directions; the lossless master keeps full RGB and takes any size.
  if (o.kind == OutputKind::mp4 && (o.width % 2 || o.height % 2))
    return "an .mp4 needs an even width and height (4:2:0 colour), not " + std::to_string(o.width) + "x" +
           std::to_string(o.height);
  return "";
}

// The checks that concern several options together; empty when all is well.
std::string combinationError(OfflineOptions& o, bool encoderOptions) {
  if (o.bench) return "";
  if (o.out.empty()) return "missing --out";
  if (!o.range && o.times.empty()) return "missing --time (or --from/--to)";
  if (onlyAnExtension(o.out))
    return "--out " + o.out + " is only an extension: name the file, as in NAME" +
           std::filesystem::path(o.out).filename().string();
  const auto kind = outputKindOf(o.out);
  if (!kind)
    return "cannot tell what to write from " + o.out +
           ": --out takes NAME.png, a folder DIR/, NAME.mp4, NAME.mkv or NAME.wav";
  o.kind = *kind;
  if (o.kind == OutputKind::still && o.times.size() > 1) return "several times need a folder (--out DIR/)";
  if (o.kind == OutputKind::still && o.range) return "a span needs a folder (DIR/), .mp4, .mkv or .wav, not a .png";
  if (o.range && o.to < o.from) return "--to comes before --from";
  if (o.range && framesInSpan(o) < 1) return "the span from --from to --to holds no frame";
  if (encoderOptions && o.kind != OutputKind::mp4) return "--crf and --preset set the .mp4 encoder only";
  return spanError(o);
}

void declareOptions(CLI::App& app, OfflineOptions& o, std::string& timeText, std::string& simulation) {
  auto* time = app.add_option("--time", timeText, "song time of a still, or several times into a folder")
                   ->check(songTimes)
                   ->type_name("T|T1,T2,..");
  auto* from = app.add_option("--from", o.from, "first song time of a span (seconds)")
                   ->check(finiteNumber(0.0, demoEndTime))
                   ->type_name("T0");
  auto* to = app.add_option("--to", o.to, "last song time of a span (seconds)")
                 ->check(finiteNumber(0.0, demoEndTime))
                 ->type_name("T1");
  from->needs(to);
  to->needs(from);
  time->excludes(from)->excludes(to);
  auto* out = app.add_option("--out", o.out, "what to write: see the output kinds below")->type_name("OUT");
  auto* fps = app.add_option("--fps", o.fps, "frames per second of the frame clock")
                  ->check(finiteNumber(1.0, 1000.0))
                  ->type_name("F")
                  ->capture_default_str();
  addOutputSizeOption(app, o.width, o.height);
  addQualityOption(app, o.quality);
  addRenderSizeOption(app, o.renderSize);
  auto* simulate = app.add_option("--simulate", simulation,
                                  "how frames before the first written one run: cpu advances them undrawn, "
                                  "full renders them (the slow reference)")
                       ->check(CLI::IsMember({"cpu", "full"}))
                       ->type_name("MODE")
                       ->capture_default_str();
  auto* crf = app.add_option("--crf", o.crf, ".mp4: x264 quality, 0 (lossless) to 51 (worst)")
                  ->check(wholeNumber(0, 51))
                  ->type_name("N")
                  ->capture_default_str();
  auto* preset = app.add_option("--preset", o.preset, ".mp4: x264 speed preset")
                     ->check(CLI::IsMember({"ultrafast", "superfast", "veryfast", "faster", "fast", "medium", "slow",
                                            "slower", "veryslow"}))
                     ->type_name("NAME")
                     ->capture_default_str();
  auto* noSound = app.add_flag("--no-sound")->description("a video without its sound track");
  app.add_flag("--quiet", o.quiet, "no progress lines and no closing line on stderr");
  app.add_flag("--verbose", o.verbose, "print the demo's start-up transcript on stdout");
  auto* bench = app.add_flag("--bench", o.bench, "run the frame benchmark instead of writing pictures");
  for (CLI::Option* picture : std::vector<CLI::Option*>{time, from, to, out, fps, simulate, crf, preset, noSound}) bench->excludes(picture);
  app.add_option("--frames", o.frames, "--bench: frames measured per part")
      ->check(wholeNumber(1, 1000))
      ->type_name("N")
      ->capture_default_str()
      ->needs(bench);
  app.add_option("--csv", o.csvPath, "--bench: also write the cells to FILE as CSV")->type_name("FILE")->needs(bench);
  app.add_option("--compare", o.comparePath, "--bench: print the ratio new/old against an earlier --csv file")
      ->type_name("OLD.csv")
      ->check(CLI::ExistingFile)
      ->needs(bench);
}

}  // namespace

bool onlyAnExtension(const std::string& out) {
  if (out.empty() || out.back() == '/') return false;
  const std::string name = lowerCase(std::filesystem::path(out).filename().string());
  return name == ".png" || name == ".mp4" || name == ".mkv" || name == ".wav";
}

std::optional<OutputKind> outputKindOf(const std::string& out) {
  std::error_code ignored;
  if (onlyAnExtension(out)) return std::nullopt;
  if (out.empty() || out.back() == '/' || std::filesystem::is_directory(out, ignored)) return OutputKind::frames;
  const std::filesystem::path path(out);
  if (!path.has_extension()) return OutputKind::frames;
  const std::string extension = lowerCase(path.extension().string());
  if (extension == ".png") return OutputKind::still;
  if (extension == ".mp4") return OutputKind::mp4;
  if (extension == ".mkv") return OutputKind::mkv;
  if (extension == ".wav") return OutputKind::wav;
  return std::nullopt;
}

ParsedOfflineOptions parseOfflineOptions(int argc, const char* const* argv) {
  CLI::App app{"tarvik-render: renders the demo's frames, a video or its sound without a visible window, "
               "or times its passes (--bench).",
               "tarvik-render"};
  app.footer(outputKinds);
  app.get_formatter()->column_width(28);
  OfflineOptions o;
  std::string timeText, simulation = "cpu";
  declareOptions(app, o, timeText, simulation);
  ParsedOfflineOptions parsed;
  parsed.outcome = parseToolCommandLine(app, argc, argv);
  if (!parsed.outcome.run) return parsed;
  if (!timeText.empty()) parseTimes(timeText, o.times);
  if (!o.times.empty()) o.time = o.times.front();
  o.range = app.count("--from") > 0;
  o.sound = app.count("--no-sound") == 0;
  o.fullSimulation = simulation == "full";
  const std::string error = combinationError(o, app.count("--crf") + app.count("--preset") > 0);
  if (!error.empty()) {
    parsed.outcome = commandLineError(app, error);
    return parsed;
  }
  parsed.options = o;
  return parsed;
}

long videoFrameCount(double from, double to, double fps) { return frameAtOrAfter(to, fps) - frameAtOrAfter(from, fps); }
