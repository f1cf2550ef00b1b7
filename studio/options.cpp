// Parsing the studio's options with CLI11.
#include "studio/options.h"

#include <CLI/CLI.hpp>

#include <cstdio>

#include "app/options.h"
#include "studio/keys.h"
#include "timeline/demo_parts.h"
#include "tooling/command_line.h"

namespace {

std::string keyTable() {
  std::string text = "Keys:\n";
  char line[160];
  for (const KeyHelp& key : studioKeyHelp()) {
    std::snprintf(line, sizeof line, "  %-22s %s\n", key.keys.c_str(), key.action.c_str());
    text += line;
  }
  return text + "Saving a .glsl under ./shaders/ rebuilds every program that read it.";
}

// The demo's own spelling of the quality, "mode=low", kept as a bare word.
std::string checkMode(const std::string& word, int& quality) {
  if (word.rfind("mode=", 0) == 0 && parseQualityName(word.substr(5), quality)) return {};
  return "expected mode=low, mode=medium or mode=high, got " + word;
}

// CLI11 reports several problems over lines; the first line says what went wrong.
std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

}  // namespace

StudioCommandLine parseStudioCommandLine(int argc, const char* const* argv) {
  StudioOptions options;
  CLI::App app{"tarvik-studio: the demo with controls for the people who change its shaders", "tarvik-studio"};
  app.footer(keyTable());
  float start = 0.0f;
  int part = 0;
  std::string mode;
  auto* startOption = app.add_option("--start", start, "start playing at T seconds")
                          ->type_name("T")->check(finiteNumber(0.0, demoEndTime));
  auto* partOption = app.add_option("--part", part, "start playing at the start of part N")
                         ->type_name("N")->check(wholeNumber(1, 8));
  startOption->excludes(partOption);
  addRenderSizeOption(app, options.renderSize);
  app.add_option("mode", mode, "quality as the demo spells it: mode=low, mode=medium (default) or mode=high")
      ->type_name("mode=low|medium|high");
  StudioCommandLine result;
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    result.help = app.help();
    return result;
  } catch (const CLI::ParseError& error) {
    result.error = firstLine(error.what()) + " (see tarvik-studio --help)";
    return result;
  }
  if (!mode.empty()) {
    if (std::string problem = checkMode(mode, options.quality); !problem.empty()) {
      result.error = problem + " (see tarvik-studio --help)";
      return result;
    }
  }
  options.start = *partOption ? makeDemoTimeline()[static_cast<size_t>(part - 1)].start : start;
  result.options = options;
  return result;
}
