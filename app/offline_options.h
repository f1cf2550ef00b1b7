// Command line of the offline renderer, parsed into plain data with a one-line error.
#pragma once
#include <optional>
#include <string>

struct OfflineOptions {
  bool range = false;     // --from/--to writes every frame into a folder
  double time = 0.0;      // --time
  double from = 0.0;      // --from
  double to = 0.0;        // --to
  std::string out;        // a PNG file, or a folder with range
  int width = 1280;       // --size WxH: the window-size output
  int height = 720;
  int quality = 1;        // --quality low|medium|high
  int renderSize = 0;     // --render N overrides the square render size; 0 keeps the quality's
  double fps = 60.0;      // --fps
};

// The options, or nullopt with `error` set to one line saying what is wrong.
std::optional<OfflineOptions> parseOfflineOptions(int argc, const char* const* argv, std::string& error);

// Frame k of the run is at song time k / fps: the last frame at or before `seconds`,
// and the first frame at or after it.
long frameAtOrBefore(double seconds, double fps);
long frameAtOrAfter(double seconds, double fps);
