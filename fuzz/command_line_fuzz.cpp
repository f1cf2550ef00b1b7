// Fuzz target: both tools' command lines. The input is split at newlines and NUL bytes into at
// most 24 words, given to tarvik-render's and tarvik-studio's parsers as their arguments. A run
// they accept must hold only values the tools can use; a refusal must be one short line.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "capture/offline_options.h"
#include "studio/options.h"
#include "timeline/demo_parts.h"
#include "tooling/command_line.h"

namespace {

constexpr size_t mostWords = 24;

std::vector<std::string> wordsOf(const uint8_t* data, size_t size) {
  std::vector<std::string> words(1);
  for (size_t i = 0; i < size && words.size() <= mostWords; ++i) {
    if (data[i] == '\n' || data[i] == 0) words.emplace_back();
    else words.back() += static_cast<char>(data[i]);
  }
  if (words.size() > mostWords) words.pop_back();
  return words;
}

void require(bool holds) {
  if (!holds) std::abort();
}

bool songTime(double t) { return std::isfinite(t) && t >= 0.0 && t <= demoEndTime; }

void checkRender(const OfflineOptions& o) {
  require(songTime(o.time) && songTime(o.from) && songTime(o.to));
  for (double t : o.times) require(songTime(t));
  require(!o.range || o.from <= o.to);
  require(std::isfinite(o.fps) && o.fps >= 1.0 && o.fps <= 1000.0);
  require(o.width >= 1 && o.width <= largestOutputSide && o.height >= 1 && o.height <= largestOutputSide);
  require(o.quality >= 0 && o.quality <= 2 && o.renderSize >= 0);
  require(o.crf >= 0 && o.crf <= 51 && o.frames >= 1 && o.frames <= 1000);
  require(o.bench || !o.out.empty());
}

// A refusal is one line; the help may run long but not without bound.
void checkOutcome(const CommandLineOutcome& outcome) {
  require(outcome.status == 0 || outcome.status == 1);
  if (outcome.status == 1) require(outcome.text.find('\n') == std::string::npos);
  require(outcome.text.size() < 64 * 1024);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> words = wordsOf(data, size);
  std::vector<const char*> argv;
  for (const std::string& word : words) argv.push_back(word.c_str());
  argv.front() = "tarvik-render";
  const ParsedOfflineOptions render = parseOfflineOptions(static_cast<int>(argv.size()), argv.data());
  if (render.options) checkRender(*render.options);
  else checkOutcome(render.outcome);
  argv.front() = "tarvik-studio";
  const StudioCommandLine studio = parseStudioCommandLine(static_cast<int>(argv.size()), argv.data());
  if (studio.options) {
    require(std::isfinite(studio.options->start) && studio.options->start >= 0.0f &&
            studio.options->start <= demoEndTime);
    require(studio.options->quality >= 0 && studio.options->quality <= 2 && studio.options->renderSize >= 0);
  } else {
    require(studio.error.find('\n') == std::string::npos && studio.help.size() < 64 * 1024);
  }
  return 0;
}
