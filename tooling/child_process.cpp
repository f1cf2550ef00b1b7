// Starting, feeding or reading, and waiting for one child process.
#include "tooling/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/stop_request.h"

extern char** environ;

namespace {

// What the C library's exec functions search when PATH is unset.
constexpr const char* defaultSearchPath = "/bin:/usr/bin";

bool isExecutableFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

// An unlinked file that takes a fed child's stderr: nothing reads a pipe while we feed, and a
// child blocked on a full stderr pipe would stop reading its input.
int temporaryFile() {
  FILE* file = std::tmpfile();
  if (!file) return -1;
  const int fd = ::fcntl(fileno(file), F_DUPFD_CLOEXEC, 0);
  std::fclose(file);
  return fd;
}

// The child's own end of the pipe on stdin or stderr; /dev/null for what neither side uses. A
// fed child whose stderr file could not be made keeps ours, so its message is still seen.
void wireStreams(posix_spawn_file_actions_t& actions, bool feed, int childEnd, int stderrFile) {
  if (feed)
    posix_spawn_file_actions_adddup2(&actions, childEnd, STDIN_FILENO);
  else
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  const int stderrSource = feed ? stderrFile : childEnd;
  if (stderrSource >= 0) posix_spawn_file_actions_adddup2(&actions, stderrSource, STDERR_FILENO);
}

// Its own process group, so the terminal's Ctrl-C reaches only us. Ignored dispositions and
// the mask survive exec: our stop signals and SIGPIPE start at their defaults and nothing is
// blocked, or a stop we send could never reach it.
void cleanSignals(posix_spawnattr_t& attributes) {
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  posix_spawnattr_setpgroup(&attributes, 0);
  sigset_t ours, none;
  sigemptyset(&ours);
  for (int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP}) sigaddset(&ours, signal);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &ours);
  posix_spawnattr_setsigmask(&attributes, &none);
}

// 0, or the error number of a start that failed.
// Pointers into `strings`, ended by a null, as exec takes them.
std::vector<char*> nullEnded(const std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (const std::string& s : strings) pointers.push_back(const_cast<char*>(s.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

int spawnChild(const std::string& program, const std::vector<std::string>& args,
               const std::vector<std::string>& environment, bool feed, int childEnd, int stderrFile, pid_t& pid) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  wireStreams(actions, feed, childEnd, stderrFile);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  cleanSignals(attributes);
  // Ours first: a name found twice is read from its first entry.
  std::vector<std::string> childEnvironment = environment;
  for (char** entry = environ; *entry; ++entry) childEnvironment.emplace_back(*entry);
  std::vector<char*> argv = nullEnded(args), envp = nullEnded(childEnvironment);
  const int failed = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  return failed;
}

void closeFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

ChildEnd decoded(int status) {
  ChildEnd end;
  if (WIFEXITED(status)) end.exitStatus = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) end.signal = WTERMSIG(status);
  return end;
}

}  // namespace

std::string findOnPath(const std::string& name) {
  if (name.empty()) return "";
  if (name.find('/') != std::string::npos) return isExecutableFile(name) ? name : "";
  const char* path = std::getenv("PATH");
  const std::string dirs = path ? path : defaultSearchPath;
  size_t start = 0;
  for (;;) {
    const size_t end = dirs.find(':', start);
    const std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
    if (isExecutableFile(candidate)) return candidate;
    if (end == std::string::npos) return "";
    start = end + 1;
  }
}

std::string missingProgramError(const std::string& name, const std::string& installHint) {
  return "cannot find the " + name + " program" + (installHint.empty() ? "" : " (" + installHint + ")");
}

ChildProcess::~ChildProcess() {
  if (running()) stop(SIGKILL);
}

bool ChildProcess::start(const std::vector<std::string>& args, const ChildSetup& setup, std::string& error) {
  if (running() || args.empty()) {
    error = args.empty() ? "no program to start" : "a child process is still running";
    return false;
  }
  const std::string program = findOnPath(args[0]);
  if (program.empty()) {
    error = missingProgramError(args[0], setup.installHint);
    return false;
  }
  feeding_ = setup.pipe == ChildPipe::feedStdin;
  if (!spawnOnPipe(program, args, setup.environment, error)) return false;
  watched_ = setup.killedByStopWatchdog;
  if (watched_) watchChildProcess(pid_);
  pending_.clear();
  lastLine_.clear();
  return true;
}

// Makes the pipe (and a fed child's stderr file), starts the child on them and keeps our ends.
bool ChildProcess::spawnOnPipe(const std::string& program, const std::vector<std::string>& args,
                               const std::vector<std::string>& environment, std::string& error) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) {
    error = "cannot open a pipe to " + args[0] + ": " + std::strerror(errno);
    return false;
  }
  int childEnd = feeding_ ? fds[0] : fds[1];
  int ourEnd = feeding_ ? fds[1] : fds[0];
  int stderrFile = feeding_ ? temporaryFile() : -1;
  const int failed = spawnChild(program, args, environment, feeding_, childEnd, stderrFile, pid_);
  closeFd(childEnd);
  if (failed != 0) {
    closeFd(ourEnd);
    closeFd(stderrFile);
    pid_ = -1;
    error = "cannot start " + program + ": " + std::strerror(failed);
    return false;
  }
  inputFd_ = feeding_ ? ourEnd : -1;
  stderrFd_ = feeding_ ? stderrFile : ourEnd;
  if (!feeding_) ::fcntl(stderrFd_, F_SETFL, ::fcntl(stderrFd_, F_GETFL) | O_NONBLOCK);
  return true;
}

bool ChildProcess::write(const uint8_t* data, size_t size) const {
  while (size > 0) {
    const ssize_t n = ::write(inputFd_, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

void ChildProcess::takeText(const char* text, size_t size, const LineSink& onLine) {
  pending_.append(text, size);
  size_t end = 0;
  while ((end = pending_.find_first_of("\r\n")) != std::string::npos) {
    const std::string line = pending_.substr(0, end);
    pending_.erase(0, end + 1);
    if (line.empty()) continue;
    lastLine_ = line;
    if (onLine) onLine(line);
  }
}

// At most what a full pipe holds (64 KiB) a call, so a child that writes without pause cannot
// keep a caller's frame in here.
void ChildProcess::readAvailable(const LineSink& onLine) {
  char buffer[4096];
  ssize_t got = 0;
  for (int reads = 0; reads < 16 && !feeding_ && stderrFd_ >= 0 && (got = ::read(stderrFd_, buffer, sizeof buffer)) > 0;
       ++reads)
    takeText(buffer, static_cast<size_t>(got), onLine);
}

// Takes in whatever stderr still holds; the end of its output ends its last line.
void ChildProcess::drainStderr(const LineSink& onLine) {
  char buffer[4096];
  ssize_t got = 0;
  for (off_t at = 0; feeding_ && stderrFd_ >= 0 && (got = ::pread(stderrFd_, buffer, sizeof buffer, at)) > 0;
       at += got)
    takeText(buffer, static_cast<size_t>(got), onLine);
  readAvailable(onLine);
  takeText("\n", 1, onLine);
  closeFd(stderrFd_);
}

void ChildProcess::finish(const LineSink& onLine) {
  closeFd(inputFd_);
  drainStderr(onLine);
  if (watched_) unwatchChildProcess(pid_);
  watched_ = false;
  pid_ = -1;
}

bool ChildProcess::poll(ChildEnd& end, const LineSink& onLine) {
  if (!running()) return false;
  readAvailable(onLine);
  int status = 0;
  pid_t got = 0;
  while ((got = ::waitpid(pid_, &status, WNOHANG)) < 0 && errno == EINTR) {
  }
  if (got == 0) return false;
  // A child that cannot be waited for (someone else reaped it) counts as ended, not running on.
  end = got == pid_ ? decoded(status) : ChildEnd{};
  finish(onLine);
  return true;
}

ChildEnd ChildProcess::wait() {
  closeFd(inputFd_);
  ChildEnd end;
  while (running() && !poll(end)) {
    // Each poll reads what came, so a child writing to our pipe is never left blocked on it;
    // between tries, the next output or 10 ms.
    pollfd output{stderrFd_, POLLIN, 0};
    ::poll(&output, feeding_ ? 0 : 1, 10);
  }
  return end;
}

void ChildProcess::sendSignal(int number) const {
  if (running()) ::kill(pid_, number);
}

ChildEnd ChildProcess::stop(int number) {
  sendSignal(number);
  return wait();
}
