// Scratch folders for tests.
#include "tests/support/temp_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

namespace fs = std::filesystem;

TempDir::TempDir() {
  static int counter = 0;
  std::error_code ignored;
  path_ = fs::temp_directory_path(ignored) / ("tarvik_test_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
  fs::remove_all(path_, ignored);
  fs::create_directories(path_, ignored);
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string TempDir::write(const std::string& relative, const std::string& bytes) const {
  const fs::path full = path_ / relative;
  std::error_code ignored;
  fs::create_directories(full.parent_path(), ignored);
  std::ofstream out(full, std::ios::binary);
  out << bytes;
  return full.string();
}

ScopedWorkingDir::ScopedWorkingDir(const fs::path& folder) {
  std::error_code ignored;
  previous_ = fs::current_path(ignored);
  fs::current_path(folder, ignored);
}

ScopedWorkingDir::~ScopedWorkingDir() {
  std::error_code ignored;
  fs::current_path(previous_, ignored);
}

ScopedPathFirst::ScopedPathFirst(const fs::path& folder) {
  const char* path = std::getenv("PATH");
  if (path) previous_ = path;
  setenv("PATH", (folder.string() + (path ? ":" + *previous_ : std::string())).c_str(), 1);
}

ScopedPathFirst::~ScopedPathFirst() {
  if (previous_) setenv("PATH", previous_->c_str(), 1);
  else unsetenv("PATH");
}

bool waitsOnFifo(const std::string& path, const std::function<void()>& read) {
  mkfifo(path.c_str(), 0600);
  std::atomic<bool> done{false};
  std::atomic<bool> waited{false};
  std::thread releaser([&] {
    for (int waitedMs = 0; waitedMs < 500 && !done; waitedMs += 10)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    while (!done) {
      // Opening the writing end without blocking succeeds only while a reader holds the FIFO.
      const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) {
        waited = true;
        close(fd);
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  read();
  done = true;
  releaser.join();
  return waited;
}

std::string fileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}
