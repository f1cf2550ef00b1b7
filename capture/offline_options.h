// Command line of the offline renderer and its frame benchmark, parsed with CLI11 into plain
// data, and what --out names.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "timeline/frame_grid.h"
#include "tooling/command_line.h"

// What --out names: one PNG, a folder of numbered PNGs, a video with its sound, or the sound
// alone (the parallel render script muxes it once over the joined segments).
enum class OutputKind { still, frames, mp4, mkv, wav };

struct OfflineOptions {
  OutputKind kind = OutputKind::still;
  bool range = false;     // --from/--to: a folder of frames, a video or a sound span
  double time = 0.0;      // --time (the first, when several are given)
  std::vector<double> times;  // --time T1,T2,...: several stills into a folder, one run
  double from = 0.0;      // --from
  double to = 0.0;        // --to
  std::string out;        // --out: see outputKindOf
  int width = 1280;       // --size WxH: the window-size output
  int height = 720;
  int quality = 1;        // --quality low|medium|high
  int renderSize = 0;     // --render N overrides the square render size; 0 keeps the quality's
  double fps = defaultFramesPerSecond;  // --fps
  bool quiet = false;     // --quiet: no progress and no closing line
  bool verbose = false;   // --verbose: the demo's start-up transcript on stdout
  bool sound = true;      // --no-sound: a video without its sound track
  bool fullSimulation = false;  // --simulate full: earlier frames run their whole render, undrawn
  int crf = 18;           // --crf: x264's constant rate factor for an .mp4
  std::string preset = "medium";  // --preset: x264's speed preset for an .mp4
  bool bench = false;     // --bench: the frame benchmark instead of pictures
  int frames = 10;        // --frames N measured per part
  std::string csvPath;    // --csv FILE: the benchmark's cells as CSV
  std::string comparePath;  // --compare OLD.csv: ratios against an earlier CSV
};

// The options to run with, or the outcome that ends the program at once (help or an error).
struct ParsedOfflineOptions {
  std::optional<OfflineOptions> options;
  CommandLineOutcome outcome;
};
ParsedOfflineOptions parseOfflineOptions(int argc, const char* const* argv);

// The kind of output `out` names: a name ending in "/", an existing folder or a name without
// an extension is a folder; otherwise .png, .mp4, .mkv or .wav (any case); nothing for any
// other extension, nor for a name that is only one of those extensions.
std::optional<OutputKind> outputKindOf(const std::string& out);
// "x/.png": a hidden name with no stem, which would otherwise make a folder ".png/".
bool onlyAnExtension(const std::string& out);

// The frames a video or sound span holds: from the first at or after `from` up to the last
// before `to` (a folder also keeps the frame at `to`).
long videoFrameCount(double from, double to, double fps);
