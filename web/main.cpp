// The browser twin's entry points: the page starts the module, puts the pack and the decoded
// music in place, then calls one of these. Each returns null on success or the one sentence
// the page shows.
#include <emscripten.h>

#include <unistd.h>

#include <string>

#include "timeline/demo_parts.h"
#include "timeline/demo_state.h"
#include "web/web_runs.h"

namespace {
// The last refusal, kept alive for the page to read.
std::string lastProblem;

const char* answer(std::string problem) {
  lastProblem = std::move(problem);
  return lastProblem.empty() ? nullptr : lastProblem.c_str();
}
}  // namespace

extern "C" {
EMSCRIPTEN_KEEPALIVE const char* tarvik_play(int quality, int width, int height) {
  return answer(startDemo(quality, width, height));
}
EMSCRIPTEN_KEEPALIVE void tarvik_stop() { stopDemo(); }
EMSCRIPTEN_KEEPALIVE void tarvik_replay() { replayDemo(); }
EMSCRIPTEN_KEEPALIVE const char* tarvik_still(double t, int width, int height, int quality) {
  return answer(drawStill(t, width, height, quality));
}
EMSCRIPTEN_KEEPALIVE const char* tarvik_bench(int quality, int width, int height, int frames) {
  return answer(startBench(quality, width, height, frames));
}

// The top of the memory the module has used (its data, stack and the heap's high-water mark).
EMSCRIPTEN_KEEPALIVE double tarvik_memory_top() { return static_cast<double>(reinterpret_cast<uintptr_t>(sbrk(0))); }

// "start end name" per line, one line per part, for the page's tests to choose song times.
EMSCRIPTEN_KEEPALIVE const char* tarvik_parts() {
  static std::string table;
  table.clear();
  for (const DemoPart& part : demoTimeline)
    table += std::to_string(part.start) + " " + std::to_string(part.end) + " " + part.name + "\n";
  return table.c_str();
}
}

// The page calls in when its files are ready; until then the module only holds the part table.
int main() {
  buildDemoTimeline();
  return 0;
}
