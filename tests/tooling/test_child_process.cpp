// The tools' child processes with small shell children: every byte fed arrives and the end of
// input reaches the child, an exit status or a signal comes back decoded with the child's last
// stderr line, the child starts in its own group with clean signals whatever our own state,
// and a missing program is one line.
#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>

#include <chrono>
#include <thread>

#include "tooling/child_process.h"

namespace {

std::vector<std::string> shell(const std::string& script) { return {"sh", "-c", script}; }

// Polls a stderr-read child for its lines until it ends or `enough` lines came (at most five
// seconds); `ended` tells which.
std::vector<std::string> linesOf(ChildProcess& child, ChildEnd& end, bool& ended, size_t enough = 1000) {
  std::vector<std::string> lines;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  const auto keep = [&](const std::string& line) { lines.push_back(line); };
  ended = false;
  while (!ended && lines.size() < enough && std::chrono::steady_clock::now() < until) {
    ended = child.poll(end, keep);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return lines;
}

// The text after `field` ("SigBlk:") in /proc status lines.
std::string valueOf(const std::vector<std::string>& lines, const std::string& field) {
  for (const std::string& line : lines)
    if (line.rfind(field, 0) == 0) return line.substr(line.find_first_not_of(" \t", field.size()));
  ADD_FAILURE() << "no " << field;
  return "";
}

}  // namespace

TEST(ChildProcess, AFedChildGetsEveryByteAndItsStatusAndLastLineComeBack) {
  ChildProcess child;
  std::string error;
  ChildSetup setup;
  setup.pipe = ChildPipe::feedStdin;
  ASSERT_TRUE(child.start(shell("echo first >&2; printf \"got $(wc -c) bytes\" >&2; exit 3"), setup, error)) << error;
  const std::string data(100000, 'x');  // more than a pipe holds
  ASSERT_TRUE(child.write(reinterpret_cast<const uint8_t*>(data.data()), data.size()));
  const ChildEnd end = child.wait();  // wc ends only when wait closes the input
  EXPECT_TRUE(end.exitStatus == 3 && end.signal == 0 && !child.running());
  EXPECT_EQ(child.lastLine(), "got 100000 bytes");  // kept without its line feed
}

TEST(ChildProcess, ASignalEndIsDecodedAndPollNeverWaits) {
  ChildProcess child;
  std::string error;
  ASSERT_TRUE(child.start(shell("echo started >&2; exec sleep 30"), ChildSetup{}, error)) << error;
  ChildEnd end;
  bool ended = true;
  const auto before = std::chrono::steady_clock::now();
  EXPECT_EQ(linesOf(child, end, ended, 1), std::vector<std::string>{"started"});
  EXPECT_FALSE(ended);
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2)) << "a poll waited";
  end = child.stop(SIGTERM);
  EXPECT_TRUE(end.exitStatus == -1 && end.signal == SIGTERM);
}

// A child that inherited our ignored SIGINT or a blocked SIGTERM could not be stopped, and one
// in our process group would get the terminal's Ctrl-C before we decide how it ends. (bash
// passes on the state it started with; dash would clear the mask first.)
TEST(ChildProcess, StartsInItsOwnGroupWithOurStopSignalsAtTheirDefaults) {
  sigset_t term, saved;
  sigemptyset(&term);
  sigaddset(&term, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &term, &saved);
  struct sigaction ignore {}, savedInt {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGINT, &ignore, &savedInt);
  ChildProcess child;
  std::string error;
  const bool started = child.start(
      {"bash", "-c", "exec grep -E '^(Pid|NSpgid|SigBlk|SigIgn):' /proc/self/status >&2"}, ChildSetup{}, error);
  sigaction(SIGINT, &savedInt, nullptr);
  pthread_sigmask(SIG_SETMASK, &saved, nullptr);
  ASSERT_TRUE(started) << error;
  ChildEnd end;
  bool ended = false;
  const std::vector<std::string> lines = linesOf(child, end, ended);
  ASSERT_TRUE(ended && end.exitStatus == 0);
  EXPECT_EQ(valueOf(lines, "Pid:"), valueOf(lines, "NSpgid:")) << "its own process group";
  EXPECT_EQ(std::stoull(valueOf(lines, "SigBlk:"), nullptr, 16), 0u);
  const unsigned long long ignored = std::stoull(valueOf(lines, "SigIgn:"), nullptr, 16);
  for (int stop : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) EXPECT_EQ((ignored >> (stop - 1)) & 1, 0u) << stop;
}

TEST(ChildProcess, AMissingProgramIsOneLineAndNothingRuns) {
  ChildProcess child;
  std::string error;
  ChildSetup setup;
  setup.installHint = "install the package x";
  EXPECT_FALSE(child.start({"no-such-program-anywhere"}, setup, error));
  EXPECT_EQ(error, "cannot find the no-such-program-anywhere program (install the package x)");
  EXPECT_FALSE(child.start({"/etc/passwd"}, ChildSetup{}, error)) << "not executable";
  EXPECT_EQ(error, "cannot find the /etc/passwd program");
  EXPECT_FALSE(child.start({}, ChildSetup{}, error));
}
