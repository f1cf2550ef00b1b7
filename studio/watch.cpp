// Shader folder snapshots and their comparison.
#include "studio/watch.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

// FNV-1a over the file's bytes.
uint64_t hashBytes(const std::string& bytes) {
  uint64_t hash = 1469598103934665603ull;
  for (const unsigned char byte : bytes) {
    hash ^= byte;
    hash *= 1099511628211ull;
  }
  return hash;
}

ShaderFileState readState(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  if (in.bad()) return {};
  return {true, hashBytes(bytes)};
}

}  // namespace

std::string normalShaderPath(const std::string& path) { return fs::path(path).lexically_normal().generic_string(); }

ShaderFolderSnapshot snapshotShaderFolder(const std::string& folder) {
  ShaderFolderSnapshot snapshot;
  std::error_code error;
  fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
  for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    const fs::path& path = it->path();
    std::error_code statError;
    if (path.extension() != ".glsl" || it->is_directory(statError)) continue;
    snapshot[normalShaderPath(path.string())] = readState(path);
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

std::vector<size_t> scenesReading(const std::vector<std::set<std::string>>& filesPerScene,
                                  const std::vector<std::string>& changed) {
  std::vector<size_t> scenes;
  for (size_t i = 0; i < filesPerScene.size(); ++i) {
    for (const std::string& path : changed) {
      if (filesPerScene[i].count(normalShaderPath(path))) {
        scenes.push_back(i);
        break;
      }
    }
  }
  return scenes;
}

ShaderFolderWatcher::ShaderFolderWatcher(std::string folder)
    : folder_(std::move(folder)), last_(snapshotShaderFolder(folder_)) {}

ShaderFileChanges ShaderFolderWatcher::poll() {
  ShaderFolderSnapshot now = snapshotShaderFolder(folder_);
  ShaderFileChanges changes = compareSnapshots(last_, now);
  last_ = std::move(now);
  return changes;
}
