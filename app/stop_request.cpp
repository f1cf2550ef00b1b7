// Signal handlers and the stop watchdog.
#include "app/stop_request.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

namespace {

volatile sig_atomic_t recordedSignal = 0;
int wakePipe[2] = {-1, -1};

// Never destroyed: the watchdog may still read them while exit() runs static destructors.
struct WatchLists {
  std::mutex mutex;
  std::vector<std::string> partialFiles;
  std::vector<pid_t> children;
  StopPolicy policy;
};
WatchLists& lists() {
  static WatchLists* instance = new WatchLists;
  return *instance;
}

void recordStop(int signal) {
  const int savedErrno = errno;
  if (recordedSignal == 0) recordedSignal = signal;
  const char wake = 1;
  if (wakePipe[1] >= 0 && ::write(wakePipe[1], &wake, 1) < 0) {
    // A full pipe already holds a wake-up.
  }
  errno = savedErrno;
}

[[noreturn]] void endProcess() {
  WatchLists& watch = lists();
  std::lock_guard<std::mutex> lock(watch.mutex);
  for (pid_t child : watch.children) kill(child, SIGKILL);
  for (const std::string& path : watch.partialFiles) std::remove(path.c_str());
  std::fflush(stdout);
  if (!watch.policy.forcedEndLine.empty()) std::fprintf(stderr, "%s\n", watch.policy.forcedEndLine.c_str());
  _exit(watch.policy.forcedExitStatus < 0 ? stopExitStatus() : watch.policy.forcedExitStatus);
}

// Waits for the first signal, gives the program the grace period to end by itself, then ends it.
void watchdog() {
  sigset_t all;
  sigfillset(&all);
  pthread_sigmask(SIG_BLOCK, &all, nullptr);  // the handler runs on the program's own threads
  char wake = 0;
  while (::read(wakePipe[0], &wake, 1) < 0 && errno == EINTR) {
  }
  std::this_thread::sleep_for(std::chrono::duration<double>(stopGraceSeconds));
  endProcess();
}

template <typename T>
void eraseValue(std::vector<T>& values, const T& value) {
  values.erase(std::remove(values.begin(), values.end(), value), values.end());
}

}  // namespace

void installStopHandlers(const StopPolicy& policy) {
  {
    std::lock_guard<std::mutex> lock(lists().mutex);
    lists().policy = policy;
  }
  if (wakePipe[0] < 0 && pipe2(wakePipe, O_CLOEXEC) == 0) std::thread(watchdog).detach();
  struct sigaction action {};
  action.sa_handler = recordStop;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);
}

bool stopRequested() { return recordedSignal != 0; }

int stopSignal() { return recordedSignal; }

int stopExitStatus() { return 128 + static_cast<int>(recordedSignal); }

void watchPartialFile(const std::string& path) {
  std::lock_guard<std::mutex> lock(lists().mutex);
  lists().partialFiles.push_back(path);
}

void unwatchPartialFile(const std::string& path) {
  std::lock_guard<std::mutex> lock(lists().mutex);
  eraseValue(lists().partialFiles, path);
}

void watchChildProcess(pid_t pid) {
  std::lock_guard<std::mutex> lock(lists().mutex);
  lists().children.push_back(pid);
}

void unwatchChildProcess(pid_t pid) {
  std::lock_guard<std::mutex> lock(lists().mutex);
  eraseValue(lists().children, pid);
}

void stopWhenParentEnds() {
  const char* parent = std::getenv(stopWithParentVariable);
  if (!parent || std::atol(parent) <= 0) return;
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  // The parent may have ended before the request took hold.
  if (getppid() != static_cast<pid_t>(std::atol(parent))) raise(SIGTERM);
}
