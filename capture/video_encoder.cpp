// Running ffmpeg as a child process fed through a pipe.
#include "capture/video_encoder.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "app/stop_request.h"

extern char** environ;

namespace {

constexpr size_t queueDepth = 2;

std::string numberText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.10g", value);
  return text;
}

void appendAll(std::vector<std::string>& to, std::initializer_list<std::string> items) {
  to.insert(to.end(), items.begin(), items.end());
}

bool writeAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::vector<std::string> encoderArguments(const EncoderJob& job) {
  const bool sound = !job.soundPath.empty();
  std::vector<std::string> args = {"ffmpeg", "-hide_banner", "-nostats", "-loglevel", "error", "-y"};
  appendAll(args, {"-f", "rawvideo", "-pix_fmt", "rgba", "-video_size",
                   std::to_string(job.width) + "x" + std::to_string(job.height), "-framerate", numberText(job.fps),
                   "-i", "pipe:0"});
  if (sound) appendAll(args, {"-i", job.soundPath});
  appendAll(args, {"-map", "0:v:0"});
  if (sound) appendAll(args, {"-map", "1:a:0"});
  if (job.container == VideoContainer::mp4) {
    // The matrix used for the conversion and the tags written must agree, or players would
    // decode with another matrix and shift the colours away from the PNG stills.
    appendAll(args, {"-vf", "vflip,scale=out_color_matrix=bt709:out_range=tv,format=yuv420p", "-c:v", "libx264",
                     "-preset", job.preset, "-crf", std::to_string(job.crf), "-pix_fmt", "yuv420p", "-colorspace", "bt709",
                     "-color_primaries", "bt709", "-color_trc", "bt709", "-color_range", "tv"});
    if (sound) appendAll(args, {"-c:a", "aac", "-b:a", "192k"});
    appendAll(args, {"-movflags", "+faststart", "-f", "mp4"});
  } else {
    appendAll(args, {"-vf", "vflip", "-c:v", "ffv1", "-level", "3", "-g", "1", "-pix_fmt", "bgr0", "-colorspace", "rgb",
                     "-color_primaries", "bt709", "-color_trc", "bt709", "-color_range", "pc"});
    if (sound) appendAll(args, {"-c:a", "flac"});
    appendAll(args, {"-f", "matroska"});
  }
  args.push_back(job.outputPath);
  return args;
}

std::string findOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "";
  size_t start = 0;
  while (start <= dirs.size()) {
    const size_t end = dirs.find(':', start);
    std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (dir.empty()) dir = ".";
    const std::string candidate = dir + "/" + name;
    struct stat info {};
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0)
      return candidate;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return "";
}

EncoderProcess::~EncoderProcess() { abort(); }

bool EncoderProcess::start(const std::vector<std::string>& args, std::string& error) {
  const std::string program = findOnPath(args.at(0));
  if (program.empty()) {
    error = "cannot find the " + args[0] + " program (install the Debian package ffmpeg)";
    return false;
  }
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    error = std::string("cannot open a pipe to the encoder: ") + std::strerror(errno);
    return false;
  }
  errorLog_ = std::tmpfile();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
  if (errorLog_) posix_spawn_file_actions_adddup2(&actions, fileno(errorLog_), STDERR_FILENO);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  posix_spawnattr_setpgroup(&attributes, 0);
  // The renderer ignores SIGPIPE and catches the stop signals; the encoder gets the defaults.
  sigset_t handled, none;
  sigemptyset(&handled);
  for (int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP}) sigaddset(&handled, signal);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &handled);
  posix_spawnattr_setsigmask(&attributes, &none);
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const int spawned = posix_spawn(&pid_, program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  ::close(fds[0]);
  if (spawned != 0) {
    ::close(fds[1]);
    pid_ = -1;
    error = "cannot start " + program + ": " + std::strerror(spawned);
    return false;
  }
  watchChildProcess(pid_);
  pipeFd_ = fds[1];
  writer_ = std::thread([this] { writerLoop(); });
  return true;
}

void EncoderProcess::writerLoop() {
  for (;;) {
    std::vector<uint8_t> frame;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [this] { return !queue_.empty() || closing_; });
      if (queue_.empty()) return;
      frame = std::move(queue_.front());
      queue_.pop_front();
    }
    changed_.notify_all();
    if (!writeAll(pipeFd_, frame.data(), frame.size())) {
      std::lock_guard<std::mutex> lock(mutex_);
      broken_ = true;
      queue_.clear();
      changed_.notify_all();
      return;
    }
  }
}

bool EncoderProcess::submit(std::vector<uint8_t> frame) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return queue_.size() < queueDepth || broken_; });
  if (broken_ || pipeFd_ < 0) return false;
  queue_.push_back(std::move(frame));
  changed_.notify_all();
  return true;
}

void EncoderProcess::stopWriter() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
  }
  changed_.notify_all();
  if (writer_.joinable()) writer_.join();
  if (pipeFd_ >= 0) ::close(pipeFd_);
  pipeFd_ = -1;
}

int EncoderProcess::waitForChild() {
  int status = 0;
  while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  unwatchChildProcess(pid_);
  pid_ = -1;
  return status;
}

std::string EncoderProcess::lastErrorLine() const {
  if (!errorLog_) return "";
  std::fflush(errorLog_);
  std::rewind(errorLog_);
  std::string last, line;
  for (int c = std::fgetc(errorLog_); c != EOF; c = std::fgetc(errorLog_)) {
    if (c != '\n' && c != '\r') {
      line.push_back(static_cast<char>(c));
      continue;
    }
    if (!line.empty()) last = line;
    line.clear();
  }
  return line.empty() ? last : line;
}

bool EncoderProcess::finish(std::string& error) {
  if (pid_ < 0) {
    error = "the encoder is not running";
    return false;
  }
  stopWriter();
  const int status = waitForChild();
  const std::string message = lastErrorLine();
  if (errorLog_) std::fclose(errorLog_);
  errorLog_ = nullptr;
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  error = WIFEXITED(status) ? "the encoder failed (ffmpeg exit status " + std::to_string(WEXITSTATUS(status)) + ")"
                            : "the encoder was killed (signal " + std::to_string(WTERMSIG(status)) + ")";
  if (!message.empty()) error += ": " + message;
  return false;
}

void EncoderProcess::abort() {
  if (pid_ > 0) kill(pid_, SIGKILL);
  // With the encoder gone the writer's blocked write fails at once and the thread ends.
  stopWriter();
  if (pid_ > 0) waitForChild();
  if (errorLog_) std::fclose(errorLog_);
  errorLog_ = nullptr;
}
