// Shader folder snapshots and their comparison.
#include "studio/watch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "render/source_map.h"

namespace fs = std::filesystem;

namespace {

// FNV-1a over a file's bytes, read from an open descriptor.
bool hashFile(int fd, uint64_t& hash) {
  hash = 1469598103934665603ull;
  unsigned char buffer[8192];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) return true;
    if (got < 0) return false;
    for (ssize_t i = 0; i < got; ++i) {
      hash ^= buffer[i];
      hash *= 1099511628211ull;
    }
  }
}

// Opened without blocking (a FIFO would wait for a writer forever) and read only when it is
// a regular file.
ShaderFileState readState(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {};
  struct stat info {};
  ShaderFileState state;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) state.readable = hashFile(fd, state.hash);
  ::close(fd);
  return state;
}

}  // namespace

ShaderFolderSnapshot snapshotShaderFolder(const std::string& folder) {
  ShaderFolderSnapshot snapshot;
  std::error_code error;
  fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
  for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    const fs::path& path = it->path();
    if (path.extension() == ".glsl") snapshot[normalShaderPath(path.string())] = readState(path);
  }
  return snapshot;
}

ShaderFileChanges compareSnapshots(const ShaderFolderSnapshot& before, const ShaderFolderSnapshot& after) {
  ShaderFileChanges changes;
  for (const auto& [path, state] : after) {
    const auto old = before.find(path);
    const bool same = old != before.end() && old->second.readable == state.readable && old->second.hash == state.hash;
    if (same) continue;
    if (state.readable) changes.changed.push_back(path);
    else changes.lost.push_back(path);
  }
  for (const auto& [path, state] : before)
    if (state.readable && after.find(path) == after.end()) changes.lost.push_back(path);
  return changes;
}

ShaderFolderWatcher::ShaderFolderWatcher(std::string folder)
    : folder_(std::move(folder)), last_(snapshotShaderFolder(folder_)) {}

ShaderFileChanges ShaderFolderWatcher::poll() {
  ShaderFolderSnapshot now = snapshotShaderFolder(folder_);
  ShaderFileChanges changes = compareSnapshots(last_, now);
  last_ = std::move(now);
  return changes;
}
