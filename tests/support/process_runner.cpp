// fork/exec with output captured into a temporary file.
#include "tests/support/process_runner.h"
#include "tests/support/test_paths.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

[[noreturn]] void execChild(const std::vector<std::string>& args, const std::string& cwd,
                            const std::vector<std::string>& env, const std::string& outputPath) {
  FILE* out = std::fopen(outputPath.c_str(), "w");
  if (out) {
    dup2(fileno(out), STDOUT_FILENO);
    dup2(fileno(out), STDERR_FILENO);
  }
  if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
  for (const std::string& assignment : env) putenv(const_cast<char*>(assignment.c_str()));
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  execv(argv[0], argv.data());
  _exit(127);
}

std::string readFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

ProcessResult runProcessWatched(const std::vector<std::string>& args, const std::string& workingDirectory,
                                const std::vector<std::string>& env, const ProcessWatch& watch,
                                double deadlineSeconds, int signal) {
  char outputPath[] = "/tmp/tarvik-process-XXXXXX";
  const int fd = mkstemp(outputPath);
  if (fd >= 0) close(fd);
  ProcessResult result;
  const pid_t pid = fork();
  if (pid == 0) execChild(args, workingDirectory, env, outputPath);
  const auto start = std::chrono::steady_clock::now();
  const auto secondsSinceStart = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    const double elapsed = secondsSinceStart();
    if (watch && result.signalledAt < 0 && watch(readFile(outputPath), elapsed)) {
      kill(pid, signal);
      result.signalledAt = elapsed;
    }
    if (elapsed >= deadlineSeconds) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      result.timedOut = true;
      result.output = readFile(outputPath);
      std::remove(outputPath);
      return result;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  result.endedAt = secondsSinceStart();
  result.exited = WIFEXITED(status);
  result.exitStatus = result.exited ? WEXITSTATUS(status) : -1;
  result.endSignal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  result.output = readFile(outputPath);
  std::remove(outputPath);
  return result;
}

ProcessResult runProcess(const std::vector<std::string>& args, const std::string& workingDirectory,
                         const std::vector<std::string>& env, double signalAfterSeconds, double deadlineSeconds) {
  const ProcessWatch afterTime = [signalAfterSeconds](const std::string&, double elapsed) {
    return signalAfterSeconds > 0 && elapsed >= signalAfterSeconds;
  };
  return runProcessWatched(args, workingDirectory, env, afterTime, deadlineSeconds);
}

ProcessResult runRenderer(const std::vector<std::string>& args, const std::vector<std::string>& env,
                          const std::string& workingDirectory) {
  std::vector<std::string> all = {builtProgram("tarvik-render")}, allEnv = {"SDL_AUDIODRIVER=dummy"};
  all.insert(all.end(), args.begin(), args.end());
  allEnv.insert(allEnv.end(), env.begin(), env.end());
  return runProcess(all, workingDirectory.empty() ? testSourceDir() : workingDirectory, allEnv, 0.0, 300.0);
}

std::string builtProgram(const std::string& name) { return std::string(testBinaryDir()) + "/" + name; }

std::string shellOutput(const std::string& command) {
  std::string text;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return text;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
  pclose(pipe);
  return text;
}
