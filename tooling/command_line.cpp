// CLI11 parsing with the tools' own error style, and the option kinds both tools share.
#include "tooling/command_line.h"

#include <CLI/CLI.hpp>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

// CLI11 wraps some messages over several lines; the tools report one.
std::string oneLine(std::string text) {
  for (char& c : text)
    if (c == '\n') c = ' ';
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// The bounds as an error line words them: "from 0 to 259", or "of at least 1" when open.
std::string boundsText(double lowest, double highest) {
  std::ostringstream text;
  text.precision(15);  // whole bounds print as whole numbers, not in exponent form
  if (highest == HUGE_VAL) text << "of at least " << lowest;
  else text << "from " << lowest << " to " << highest;
  return text.str();
}

// The bounds as --help shows them after the option's type, "[0 - 259]"; nothing when open.
std::string rangeInHelp(double lowest, double highest) {
  if (highest == HUGE_VAL) return "";
  std::ostringstream text;
  text.precision(15);
  text << "[" << lowest << " - " << highest << "]";
  return text.str();
}

bool parseSide(const std::string& text, int& value) {
  char* end = nullptr;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || *end != '\0' || parsed < 1 || parsed > largestOutputSide) return false;
  value = static_cast<int>(parsed);
  return true;
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

std::optional<double> numberIn(const std::string& text, double lowest, double highest) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || *end != '\0' || !std::isfinite(value) || value < lowest || value > highest)
    return std::nullopt;
  return value;
}

CLI::Validator finiteNumber(double lowest, double highest) {
  const std::string bounds = boundsText(lowest, highest);
  return CLI::Validator(
      [lowest, highest, bounds](std::string& text) {
        return numberIn(text, lowest, highest) ? std::string() : "not a number " + bounds + ": " + text;
      },
      rangeInHelp(lowest, highest));
}

bool parseQualityName(const std::string& text, int& quality) {
  if (text == "low") quality = 0;
  else if (text == "medium") quality = 1;
  else if (text == "high") quality = 2;
  else return false;
  return true;
}

const char* qualityName(int quality) {
  if (quality <= 0) return "low";
  if (quality >= 2) return "high";
  return "medium";
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
      ->check(finiteNumber(1))
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
