// Shader folder snapshots from stat, and reads of what moved.
#include "studio/watch.h"

#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <filesystem>

#include "render/shader_files.h"
#include "render/source_map.h"

namespace fs = std::filesystem;

namespace {

// Coarse file-system clocks (a tick of a few milliseconds, a second on some) let a second
// write within the tick of the first keep its time.
constexpr int64_t recentNs = 2'000'000'000;

int64_t nowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

InputFileStatus statusOf(const struct stat& info) {
  if (S_ISDIR(info.st_mode)) return InputFileStatus::folder;
  if (!S_ISREG(info.st_mode)) return InputFileStatus::notRegular;
  if (static_cast<uint64_t>(info.st_size) > maxShaderFileBytes) return InputFileStatus::tooLarge;
  return InputFileStatus::ok;
}

// Nothing for a file that went between the folder's listing and the stat.
std::optional<ShaderFileState> statState(const std::string& path, int64_t now) {
  struct stat info {};
  ShaderFileState state;
  if (::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT) return std::nullopt;
    state.status = InputFileStatus::unreadable;
    return state;
  }
  state.status = statusOf(info);
  state.size = info.st_size;
  state.modifiedNs = int64_t{info.st_mtim.tv_sec} * 1'000'000'000 + info.st_mtim.tv_nsec;
  state.recent = now - state.modifiedNs < recentNs;
  return state;
}

// FNV-1a.
uint64_t hashOf(const std::vector<unsigned char>& bytes) {
  uint64_t hash = 1469598103934665603ull;
  for (const unsigned char byte : bytes) hash = (hash ^ byte) * 1099511628211ull;
  return hash;
}

void readHash(const std::string& path, ShaderFileState& state) {
  std::vector<unsigned char> bytes;
  state.status = readInputFile(path, 0, 0, maxShaderFileBytes, bytes);
  if (state.status == InputFileStatus::ok) state.hash = hashOf(bytes);
}

bool sameStat(const ShaderFileState& a, const ShaderFileState& b) {
  return a.status == b.status && a.size == b.size && a.modifiedNs == b.modifiedNs;
}

// Fills in `now`'s hash, reading only when `old` cannot vouch for it; true when it changed.
bool settle(const std::string& path, const ShaderFileState* old, ShaderFileState& now) {
  if (now.status == InputFileStatus::ok) {
    if (old && sameStat(*old, now) && !old->recent) {
      now.hash = old->hash;
      return false;
    }
    readHash(path, now);
  }
  if (now.status != InputFileStatus::ok) return !old || old->status != now.status;
  // A file the first snapshot did not read, and whose size or time moved.
  return !old || !old->hash || *old->hash != *now.hash;
}

// The first snapshot reads only what may still be written within its clock tick.
bool takeStock(const std::string& path, ShaderFileState& now) {
  if (now.status == InputFileStatus::ok && now.recent) readHash(path, now);
  return now.status != InputFileStatus::ok;
}

const ShaderFileState* stateIn(const ShaderFolderSnapshot& snapshot, const std::string& path) {
  const auto found = snapshot.find(path);
  return found == snapshot.end() ? nullptr : &found->second;
}

ShaderFolderSnapshot statFolder(const std::string& folder) {
  ShaderFolderSnapshot snapshot;
  const int64_t now = nowNs();
  std::error_code error;
  fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
  for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    const std::string& path = it->path().native();
    if (path.size() < 5 || path.compare(path.size() - 5, 5, ".glsl") != 0) continue;
    if (std::optional<ShaderFileState> state = statState(path, now)) snapshot.emplace(path, *state);
  }
  return snapshot;
}

}  // namespace

std::vector<std::string> pathsWith(const ShaderFileChanges& changes, InputFileStatus status) {
  std::vector<std::string> paths;
  for (const auto& [path, change] : changes)
    if (change == status) paths.push_back(path);
  return paths;
}

ShaderFileChanges ShaderFolderWatcher::poll() {
  ShaderFolderSnapshot now = statFolder(folder_);
  ShaderFileChanges changes;
  for (auto& [path, state] : now)
    if (last_ ? settle(path, stateIn(*last_, path), state) : takeStock(path, state))
      changes[normalShaderPath(path)] = state.status;
  if (last_)
    for (const auto& [path, state] : *last_)
      if (state.status == InputFileStatus::ok && now.find(path) == now.end())
        changes[normalShaderPath(path)] = InputFileStatus::missing;
  last_ = std::move(now);
  return changes;
}
