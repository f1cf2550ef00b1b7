// The frame benchmark of tarvik-render (--bench): a few frames in the middle of each of the
// eight parts, drawn the way the offline renderer draws them, with GPU timestamps around every
// pass; prints one table of GPU milliseconds per pass and part, their sum, the wall time per
// frame and the engine overhead (wall time not spent in any pass).
// Owns: its options and the table. Does NOT write pictures.
#pragma once
#include <optional>
#include <string>
#include <vector>

struct BenchOptions {
  int quality = 1;      // --quality low|medium|high
  int width = 1280;     // --size WxH, the window-size output
  int height = 720;
  int renderSize = 0;   // --render N: square render size; 0 keeps the quality's
  int frames = 10;      // --frames N measured per part
};

// Whether the command line asks for the benchmark (an argument "--bench").
bool wantsRenderBench(int argc, const char* const* argv);
std::optional<BenchOptions> parseBenchOptions(int argc, const char* const* argv, std::string& error);

// Per part, the mean GPU milliseconds of each pass name and the mean wall milliseconds.
struct PartTiming {
  std::string partName;
  std::vector<std::pair<std::string, double>> passes;  // in drawing order
  double wallMilliseconds = 0.0;
};
// The table as printed: one row per pass name (in order of first use), then the GPU sum,
// the wall time and the overhead in milliseconds and in percent of the wall time.
std::string benchTable(const std::vector<PartTiming>& parts);

// The process exit status: 0 after printing the table, 1 after one line on stderr.
int runRenderBench(int argc, const char* const* argv);
