// CLI11 parsing with the tools' own error style, and the option kinds both tools share.
#include "tooling/command_line.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <sstream>

#include "render/display_settings.h"
#include "tooling/tool_start.h"

namespace {

// CLI11 wraps some messages over several lines; the tools report one.
std::string oneLine(std::string text) {
  for (char& c : text)
    if (c == '\n') c = ' ';
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// A bound as the lines word it: whole bounds as whole numbers, never in exponent form.
std::string boundText(double bound) {
  std::ostringstream text;
  text.precision(15);
  text << bound;
  return text.str();
}

std::optional<long> wholeNumberIn(const std::string& text, long lowest, long highest) {
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || *end != '\0' || errno == ERANGE || value < lowest || value > highest) return std::nullopt;
  return value;
}

// A check that words its refusal "not WHAT from LOWEST to HIGHEST: TEXT".
CLI::Validator boundedCheck(const std::string& what, double lowest, double highest,
                            const std::function<bool(const std::string&)>& accepts) {
  const std::string refusal = "not " + what + " from " + boundText(lowest) + " to " + boundText(highest) + ": ";
  // --help shows the bounds after the option's type, "[0 - 259]".
  return CLI::Validator(
      [accepts, refusal](std::string& text) { return accepts(text) ? std::string() : refusal + text; },
      "[" + boundText(lowest) + " - " + boundText(highest) + "]");
}

bool parseSide(const std::string& text, int& value) {
  const std::optional<long> side = wholeNumberIn(text, 1, largestOutputSide);
  if (side) value = static_cast<int>(*side);
  return side.has_value();
}

bool parseSize(const std::string& text, int& width, int& height) {
  const size_t x = text.find('x');
  return x != std::string::npos && parseSide(text.substr(0, x), width) && parseSide(text.substr(x + 1), height);
}

}  // namespace

CommandLineOutcome parseToolCommandLine(CLI::App& app, int argc, const char* const* argv) {
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    return {false, 0, app.help()};
  } catch (const CLI::ParseError& e) {
    return commandLineError(app, e.what());
  }
  return {true, 0, ""};
}

CommandLineOutcome commandLineError(const CLI::App& app, const std::string& message) {
  const std::string name = app.get_name();
  return {false, 1, name + ": " + oneLine(message) + " (see " + name + " --help)"};
}

int finishCommandLine(const CommandLineOutcome& outcome) {
  if (outcome.status == 0) std::fputs(outcome.text.c_str(), stdout);
  else std::fprintf(stderr, "%s\n", outcome.text.c_str());
  return outcome.status;
}

int finishStdout(const std::string& tool, int status) {
  errno = 0;
  const bool flushed = std::fflush(stdout) == 0;
  const int error = errno;
  if (flushed && !std::ferror(stdout)) return status;
  std::fprintf(stderr, "%s: could not write standard output%s%s\n", tool.c_str(), error ? ": " : "",
               error ? std::strerror(error) : "");
  return status == 0 ? 1 : status;
}

std::optional<double> numberIn(const std::string& text, double lowest, double highest) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || *end != '\0' || !std::isfinite(value) || value < lowest || value > highest)
    return std::nullopt;
  return value;
}

CLI::Validator finiteNumber(double lowest, double highest) {
  return boundedCheck("a number", lowest, highest,
                      [=](const std::string& text) { return numberIn(text, lowest, highest).has_value(); });
}

CLI::Validator wholeNumber(int lowest, int highest) {
  return boundedCheck("a whole number", lowest, highest,
                      [=](const std::string& text) { return wholeNumberIn(text, lowest, highest).has_value(); });
}

CLI::Option* addQualityOption(CLI::App& app, int& quality) {
  const CLI::Validator qualityName(
      [](std::string& text) {
        int ignored = 0;
        return parseQualityName(text, ignored) ? std::string() : "not a quality: " + text;
      },
      "");
  return app
      .add_option_function<std::string>(
          "--quality", [&quality](const std::string& text) { parseQualityName(text, quality); },
          "render targets of 512, 768 or 1280 square and the effects that go with them")
      ->check(qualityName)
      ->type_name("low|medium|high")
      ->default_str("medium");
}

CLI::Option* addRenderSizeOption(CLI::App& app, int& renderSize) {
  return app.add_option("--render", renderSize, "square render size, overriding the quality's")
      ->check(wholeNumber(1, largestRenderSize))
      ->type_name("N");
}

CLI::Option* addOutputSizeOption(CLI::App& app, int& width, int& height) {
  const CLI::Validator size(
      [](std::string& text) {
        int w = 0, h = 0;
        return parseSize(text, w, h) ? std::string()
                                     : "not a size from 1x1 to " + std::to_string(largestOutputSide) + "x" +
                                           std::to_string(largestOutputSide) + ": " + text;
      },
      "");
  return app
      .add_option_function<std::string>(
          "--size", [&width, &height](const std::string& text) { parseSize(text, width, height); },
          "size of the output frames")
      ->check(size)
      ->type_name("WxH")
      ->default_str(std::to_string(width) + "x" + std::to_string(height));
}
