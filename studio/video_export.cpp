// The background export child and its progress pipe.
#include "studio/video_export.h"

#include <signal.h>
#include <unistd.h>

#include <filesystem>

#include "app/stop_request.h"

VideoExport::~VideoExport() { stop(); }

bool VideoExport::start(const std::string& program, const std::vector<std::string>& arguments, std::string& error) {
  if (running()) {
    error = "an export is still running";
    return false;
  }
  std::vector<std::string> args = {program};
  args.insert(args.end(), arguments.begin(), arguments.end());
  progress_.clear();
  // Not for the stop watchdog: its SIGKILL would leave the renderer's partial files, while the
  // SIGTERM of stop() has the renderer remove them itself.
  ChildSetup setup;
  setup.pipe = ChildPipe::readStderr;
  setup.killedByStopWatchdog = false;
  setup.environment = {std::string(stopWithParentVariable) + "=" + std::to_string(getpid())};
  return child_.start(args, setup, error);
}

bool VideoExport::poll(int& exitStatus) {
  ChildEnd end;
  const bool ended = child_.poll(end, [this](const std::string& line) {
    if (const std::string progress = progressOf(line); !progress.empty()) progress_ = progress;
  });
  if (ended) exitStatus = end.exitStatus;
  return ended;
}

void VideoExport::stop() { child_.stop(SIGTERM); }

std::string siblingProgram(const std::string& name) {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    const std::filesystem::path sibling = self.parent_path() / name;
    if (::access(sibling.c_str(), X_OK) == 0) return sibling.string();
  }
  return name;
}

std::string progressOf(const std::string& line) {
  const size_t start = line.find("frame ");
  const size_t close = line.find("%)", start == std::string::npos ? 0 : start);
  if (start == std::string::npos || close == std::string::npos) return {};
  return line.substr(start, close + 2 - start);
}
