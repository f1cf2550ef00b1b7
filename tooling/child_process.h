// A child process on one pipe, for the tools that hand work to another program: either we
// feed its stdin (an encoder taking raw frames) or we read its stderr without ever waiting (a
// background export reporting progress). One way to find the program, start it, wait for it
// and keep the last line of its stderr for an error message.
// The child starts in its own process group, so a Ctrl-C at the terminal reaches only us and
// we decide how the child ends; the signals our stop handler catches or ignores start at
// their defaults and none is blocked, so a stop we send does reach it.
// Owns: the child's pid, our end of its pipe and its stderr (a temporary file while we feed
// it, since no one reads a pipe then). Does NOT write progress or error lines of its own,
// nor decide what an exit status means to the user: the callers do.
#pragma once
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The full path of the program `name`: `name` itself when it holds a '/', else the first
// executable regular file of that name on PATH (/bin:/usr/bin when PATH is unset, as for
// exec; an empty entry is the working directory). Empty when there is none.
std::string findOnPath(const std::string& name);

// "cannot find the NAME program", with " (HINT)" when `installHint` says where to get it.
std::string missingProgramError(const std::string& name, const std::string& installHint = "");

enum class ChildPipe {
  feedStdin,   // we write its stdin; its stderr is kept for lastLine()
  readStderr,  // we read its stderr as it comes; its stdin is /dev/null
};

struct ChildSetup {
  ChildPipe pipe = ChildPipe::readStderr;
  // The stop watchdog kills it (SIGKILL) if it has to end our process.
  bool killedByStopWatchdog = false;
  // Added to the "cannot find" error, e.g. "install the Debian package ffmpeg".
  std::string installHint;
  // "NAME=value" entries added to our environment for the child.
  std::vector<std::string> environment;
};

// How a child ended.
struct ChildEnd {
  int exitStatus = -1;  // its exit status; -1 when a signal ended it (or it was lost)
  int signal = 0;       // the signal that ended it; 0 when it exited
  bool succeeded() const { return exitStatus == 0; }
};

class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();  // a still-running child is killed and waited for

  // Starts `args` (args[0] found by findOnPath); false with `error` set (one line) when it
  // cannot start or one is still running. Its stdout goes to /dev/null.
  bool start(const std::vector<std::string>& args, const ChildSetup& setup, std::string& error);
  bool running() const { return pid_ > 0; }

  // feedStdin: writes all of `data`; false once the child no longer reads. Our process must
  // ignore SIGPIPE (the stop handlers do). May run on another thread than the rest, which
  // must be done writing before poll, wait or stop close the pipe.
  bool write(const uint8_t* data, size_t size) const;

  using LineSink = std::function<void(const std::string&)>;
  // Never waits: true once, when the child has ended, with `end` set. Hands `onLine` each
  // stderr line written since the last call (a fed child's all at its end), its last one
  // too once it has ended: a line ends at '\n', at the '\r' of a rewritten terminal line or
  // at the end of the output; empty lines are skipped.
  bool poll(ChildEnd& end, const LineSink& onLine = {});
  // Closes its stdin (the end of its input) and waits for it to end, reading its stderr
  // meanwhile so that it cannot block on a full pipe.
  ChildEnd wait();
  // Sends the signal `number` and leaves the waiting to poll or wait.
  void sendSignal(int number) const;
  // Sends the signal `number` and waits.
  ChildEnd stop(int number);

  // The last line the child wrote on stderr: its closing report or error; complete once it
  // has ended.
  const std::string& lastLine() const { return lastLine_; }

 private:
  bool spawnOnPipe(const std::string& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& environment, std::string& error);
  void takeText(const char* text, size_t size, const LineSink& onLine);
  void readAvailable(const LineSink& onLine);
  void drainStderr(const LineSink& onLine);
  void finish(const LineSink& onLine);

  pid_t pid_ = -1;
  int inputFd_ = -1;   // feedStdin: the write end of its stdin
  int stderrFd_ = -1;  // readStderr: the read end of its stderr; feedStdin: its temporary file
  bool feeding_ = false;
  bool watched_ = false;
  std::string pending_;  // the start of a line not yet ended
  std::string lastLine_;
};
