// Watching the shader files: snapshots of ./shaders/ (every .glsl, with whether it reads as a
// regular file and a hash of its bytes) and what changed between two snapshots. A path that
// turned into a FIFO, a folder or an unreadable file is never read: it counts as lost.
// Owns: ShaderFolderWatcher's last snapshot. Does NOT rebuild anything and needs no GL.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct ShaderFileState {
  bool readable = false;
  uint64_t hash = 0;  // of the bytes, when readable
};

// Keyed by the path in normal form (normalShaderPath).
using ShaderFolderSnapshot = std::map<std::string, ShaderFileState>;

// Every .glsl below `folder` (recursively); a missing folder gives an empty snapshot.
ShaderFolderSnapshot snapshotShaderFolder(const std::string& folder);

struct ShaderFileChanges {
  std::vector<std::string> changed;  // new, or different bytes, and readable now
  std::vector<std::string> lost;     // deleted, unreadable, or no longer a regular file
  bool empty() const { return changed.empty() && lost.empty(); }
};
ShaderFileChanges compareSnapshots(const ShaderFolderSnapshot& before, const ShaderFolderSnapshot& after);

// Polls a folder: each poll compares a fresh snapshot with the one before.
class ShaderFolderWatcher {
 public:
  explicit ShaderFolderWatcher(std::string folder);
  ShaderFileChanges poll();

 private:
  std::string folder_;
  ShaderFolderSnapshot last_;
};
