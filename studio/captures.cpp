// Stills and the background export.
#include "studio/captures.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "tooling/frame_capture.h"

namespace {

const char* const qualityNames[] = {"low", "medium", "high"};

std::string secondsText(float t) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", t);
  return text;
}

bool makeCaptureFolder() {
  std::error_code error;
  std::filesystem::create_directories("captures", error);
  return !error;
}

}  // namespace

void StudioCaptures::saveFrame(const WindowCopy& picture, float t) {
  const std::string path = stillCaptureName(t);
  const bool saved = makeCaptureFolder() && picture.width() > 0 &&
                     writePngFile(path, picture.width(), picture.height(), picture.readPixels());
  status_.report((saved ? "saved " : "could not save ") + path, !saved);
}

void StudioCaptures::startExport(const TimeRange& range) {
  const std::string path = videoCaptureName(range);
  std::vector<std::string> arguments = {"--from", secondsText(range.from), "--to", secondsText(range.to),
                                        "--out", path, "--quality", qualityNames[std::clamp(options_.quality, 0, 2)]};
  if (options_.renderSize > 0) arguments.insert(arguments.end(), {"--render", std::to_string(options_.renderSize)});
  std::string error;
  const bool started = makeCaptureFolder() && export_.start(siblingProgram("tarvik-render"), arguments, error);
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
