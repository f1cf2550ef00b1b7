// The tools' command lines on CLI11, with one style for both: --help prints every option and
// exits 0; a mistake is one line on stderr, "NAME: what is wrong (see NAME --help)", status 1.
// Owns: the option kinds both tools take (quality names, render and window sizes) and the
// checks every number on either command line passes.
// Does NOT know any tool's options: each tool declares its own on its CLI::App.
#pragma once
#include <optional>
#include <string>

// Declared here so that only the files that build a command line compile CLI11.
namespace CLI {
class App;
class Option;
class Validator;
}  // namespace CLI

// Where a parse leaves a tool: run, or end at once with `status` after printing `text`
// (the help on stdout for status 0, the error line on stderr otherwise).
struct CommandLineOutcome {
  bool run = false;
  int status = 0;
  std::string text;
};

CommandLineOutcome parseToolCommandLine(CLI::App& app, int argc, const char* const* argv);
// The outcome of a check made after the parse: one error line in the same style.
CommandLineOutcome commandLineError(const CLI::App& app, const std::string& message);
// Prints the outcome's text where it belongs and returns its status.
int finishCommandLine(const CommandLineOutcome& outcome);
// The status a tool ends with: `status`, or 1 after one line on stderr when what it wrote on
// stdout (help, a report, a transcript) did not all arrive, so that a lost report never
// passes for a written one.
int finishStdout(const std::string& tool, int status);

// The number `text` holds when it is one finite number from `lowest` to `highest`, nothing
// else. CLI11's own range check lets NaN through, and a NaN time later becomes a frame number
// by undefined behaviour; every number option goes through this instead.
std::optional<double> numberIn(const std::string& text, double lowest, double highest);
// numberIn as an option's check(): "not a number from LOWEST to HIGHEST: TEXT" when it fails.
CLI::Validator finiteNumber(double lowest, double highest);
// The check of an integer option: "not a whole number from LOWEST to HIGHEST: TEXT" unless the
// text is one decimal integer within the bounds (CLI11 would word a "1.5" its own way).
CLI::Validator wholeNumber(int lowest, int highest);

// The largest window-size output on either side.
inline constexpr int largestOutputSide = 8192;

// --quality low|medium|high into 0, 1 or 2.
CLI::Option* addQualityOption(CLI::App& app, int& quality);
// --render N, a square render size from 1 to largestRenderSize (the display bring-up still
// refuses one this GL cannot hold).
CLI::Option* addRenderSizeOption(CLI::App& app, int& renderSize);
// --size WxH, each side from 1 to largestOutputSide.
CLI::Option* addOutputSizeOption(CLI::App& app, int& width, int& height);
