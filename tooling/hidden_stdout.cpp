// stdout pointed at /dev/null and back.
#include "tooling/hidden_stdout.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

HiddenStdout::HiddenStdout(bool hide) {
  if (!hide) return;
  std::fflush(stdout);
  const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (devNull < 0) return;
  savedStdout_ = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
  if (savedStdout_ >= 0) dup2(devNull, STDOUT_FILENO);
  close(devNull);
}

void HiddenStdout::show() {
  if (savedStdout_ < 0) return;
  std::fflush(stdout);
  dup2(savedStdout_, STDOUT_FILENO);
  close(savedStdout_);
  savedStdout_ = -1;
}
