// Scratch folders and files for tests, and scoped changes of the working directory and of
// where programs are found.
// Does NOT remove anything it did not create.
#pragma once
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

// A fresh folder under the system temp folder, removed with its contents on destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Writes `bytes` to `relative` (folders created) and returns the full path.
  std::string write(const std::string& relative, const std::string& bytes) const;

 private:
  std::filesystem::path path_;
};

// Every byte of the file at `path`; empty when it cannot be read.
std::string fileBytes(const std::filesystem::path& path);

// Makes `folder` the working directory until destruction, then restores the previous one.
class ScopedWorkingDir {
 public:
  explicit ScopedWorkingDir(const std::filesystem::path& folder);
  ~ScopedWorkingDir();
  ScopedWorkingDir(const ScopedWorkingDir&) = delete;
  ScopedWorkingDir& operator=(const ScopedWorkingDir&) = delete;

 private:
  std::filesystem::path previous_;
};

// Puts `folder` first on PATH until destruction (stand-ins for programs a tool starts by name),
// then restores PATH as it was.
class ScopedPathFirst {
 public:
  explicit ScopedPathFirst(const std::filesystem::path& folder);
  ~ScopedPathFirst();
  ScopedPathFirst(const ScopedPathFirst&) = delete;
  ScopedPathFirst& operator=(const ScopedPathFirst&) = delete;

 private:
  std::optional<std::string> previous_;
};

// Makes a FIFO at `path` that nothing writes, runs `read` on it, and tells whether `read` waited
// on it. A reader still inside after half a second is let go: the FIFO's writing end is opened
// and closed once, so a blocking open returns and reads an empty file instead of hanging.
bool waitsOnFifo(const std::string& path, const std::function<void()>& read);
