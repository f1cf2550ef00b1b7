// The background export child and its progress pipe.
#include "studio/video_export.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

extern char** environ;

VideoExport::~VideoExport() { stop(); }

bool VideoExport::start(const std::string& program, const std::vector<std::string>& arguments, std::string& error) {
  if (running()) {
    error = "an export is still running";
    return false;
  }
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) {
    error = std::string("cannot make a pipe: ") + std::strerror(errno);
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // The child's start-up transcript is not the studio's business; its progress and errors are.
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const int failed = posix_spawnp(&child_, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  if (failed != 0) {
    ::close(fds[0]);
    child_ = -1;
    error = "cannot start " + program + ": " + std::strerror(failed);
    return false;
  }
  pipe_ = fds[0];
  ::fcntl(pipe_, F_SETFL, ::fcntl(pipe_, F_GETFL) | O_NONBLOCK);
  pending_.clear();
  progress_.clear();
  lastLine_.clear();
  return true;
}

void VideoExport::readOutput() {
  char buffer[4096];
  ssize_t got = 0;
  while (pipe_ >= 0 && (got = ::read(pipe_, buffer, sizeof buffer)) > 0) pending_.append(buffer, static_cast<size_t>(got));
  // Progress on a terminal is rewritten with carriage returns; lines end with either.
  size_t end = 0;
  while ((end = pending_.find_first_of("\r\n")) != std::string::npos) {
    const std::string line = pending_.substr(0, end);
    pending_.erase(0, end + 1);
    if (line.empty()) continue;
    lastLine_ = line;
    if (const std::string progress = progressOf(line); !progress.empty()) progress_ = progress;
  }
}

bool VideoExport::poll(int& exitStatus) {
  if (!running()) return false;
  readOutput();
  int status = 0;
  if (::waitpid(child_, &status, WNOHANG) != child_) return false;
  readOutput();
  if (!pending_.empty()) lastLine_ = pending_;
  ::close(pipe_);
  pipe_ = -1;
  child_ = -1;
  exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return true;
}

void VideoExport::stop() {
  if (running()) {
    ::kill(child_, SIGTERM);
    ::waitpid(child_, nullptr, 0);
    child_ = -1;
  }
  if (pipe_ >= 0) ::close(pipe_);
  pipe_ = -1;
}

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
