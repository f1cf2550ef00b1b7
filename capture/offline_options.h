// Command line of the offline renderer, parsed into plain data with a one-line error.
#pragma once
#include <optional>
#include <string>
#include <vector>

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
  std::string out;        // a PNG file, or a folder with range
  int width = 1280;       // --size WxH: the window-size output
  int height = 720;
  int quality = 1;        // --quality low|medium|high
  int renderSize = 0;     // --render N overrides the square render size; 0 keeps the quality's
  double fps = 60.0;      // --fps
  bool quiet = false;     // --quiet: no progress lines
  bool sound = true;      // --no-sound: a video without its sound track
  bool fullSimulation = false;  // --simulate full: earlier frames run their whole render, undrawn
};

// The options, or nullopt with `error` set to one line saying what is wrong.
std::optional<OfflineOptions> parseOfflineOptions(int argc, const char* const* argv, std::string& error);

// Frame k of the run is at song time k / fps: the last frame at or before `seconds`,
// and the first frame at or after it.
long frameAtOrBefore(double seconds, double fps);
long frameAtOrAfter(double seconds, double fps);
