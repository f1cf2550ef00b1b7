// Stills and the background export.
#include "studio/captures.h"

#include <cstdio>
#include <filesystem>
#include <vector>

#include "app/options.h"
#include "tooling/frame_capture.h"

namespace {

std::string secondsText(float t) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", t);
  return text;
}

// Why ./captures/ cannot take a file (made when missing), or empty when it can.
std::string captureFolderProblem() {
  std::error_code error;
  std::filesystem::create_directories("captures", error);
  if (!error) return {};
  std::error_code ignored;
  if (std::filesystem::exists("captures", ignored)) return "./captures is not a folder";
  return "cannot make ./captures: " + error.message();
}

}  // namespace

void StudioCaptures::saveFrame(const WindowCopy& picture, float t) {
  const std::string path = stillCaptureName(t);
  std::string problem = captureFolderProblem();
  if (problem.empty() && picture.width() <= 0) problem = "no picture drawn yet";
  if (problem.empty() && !writePngFile(path, picture.width(), picture.height(), picture.readPixels()))
    problem = "the file could not be written";
  status_.report(problem.empty() ? "saved " + path : "could not save " + path + ": " + problem, !problem.empty());
}

void StudioCaptures::startExport(const TimeRange& range) {
  const std::string path = videoCaptureName(range);
  std::vector<std::string> arguments = {"--from", secondsText(range.from), "--to", secondsText(range.to),
                                        "--out", path, "--quality", qualityName(options_.quality)};
  if (options_.renderSize > 0) arguments.insert(arguments.end(), {"--render", std::to_string(options_.renderSize)});
  std::string error = captureFolderProblem();
  const bool started = error.empty() && export_.start(siblingProgram("tarvik-render"), arguments, error);
  if (started) exportTarget_ = path;
  status_.report(started ? "exporting " + path + " in the background" : "no export: " + error, !started);
}

void StudioCaptures::poll() {
  int exitStatus = 0;
  if (!export_.poll(exitStatus)) return;
  if (exitStatus == 0) status_.report("exported " + exportTarget_, false);
  else status_.report("export of " + exportTarget_ + " failed: " + export_.lastLine(), true);
}

std::string StudioCaptures::progress() const {
  return export_.running() ? exportTarget_ + " " + export_.progress() : std::string();
}
