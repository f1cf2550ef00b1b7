// Watching the shader files: snapshots of ./shaders/ (every .glsl, with whether it reads and
// a hash of its bytes), what changed between two snapshots, and which scenes read a changed
// file. Owns: ShaderFolderWatcher's last snapshot. Does NOT reload anything and needs no GL.
#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

struct ShaderFileState {
  bool readable = false;
  uint64_t hash = 0;  // of the bytes, when readable
};

// Keyed by the path in normal form (see normalShaderPath).
using ShaderFolderSnapshot = std::map<std::string, ShaderFileState>;

// "./shaders/lib/x.glsl" and "shaders/lib/x.glsl" both give "shaders/lib/x.glsl".
std::string normalShaderPath(const std::string& path);

// Every .glsl below `folder` (recursively); a missing folder gives an empty snapshot.
ShaderFolderSnapshot snapshotShaderFolder(const std::string& folder);

struct ShaderFileChanges {
  std::vector<std::string> changed;  // new, or different bytes, and readable now
  std::vector<std::string> lost;     // deleted, or no longer readable
  bool empty() const { return changed.empty() && lost.empty(); }
};
ShaderFileChanges compareSnapshots(const ShaderFolderSnapshot& before, const ShaderFolderSnapshot& after);

// Indices of the scenes whose last reload read any of `changed` (paths in any spelling).
std::vector<size_t> scenesReading(const std::vector<std::set<std::string>>& filesPerScene,
                                  const std::vector<std::string>& changed);

// Polls a folder: each poll compares a fresh snapshot with the one before.
class ShaderFolderWatcher {
 public:
  explicit ShaderFolderWatcher(std::string folder);
  ShaderFileChanges poll();

 private:
  std::string folder_;
  ShaderFolderSnapshot last_;
};
