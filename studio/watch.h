// Watching the shader files: snapshots of ./shaders/ (every .glsl with what stat says of it:
// its kind, size and modification time) and what changed between two of them. Only a file
// whose size or time moved is read, through readInputFile: never a FIFO or a folder, never one
// over maxShaderFileBytes. A file saved with the same bytes again is no change.
// Owns: ShaderFolderWatcher's last snapshot. Does NOT rebuild anything and needs no GL.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "render/input_file.h"

struct ShaderFileState {
  InputFileStatus status = InputFileStatus::ok;  // ok: a regular file within the read limit
  int64_t size = 0;
  int64_t modifiedNs = 0;
  // Written so shortly before the snapshot that a second write could still leave size and
  // time as they are: such a file is read again at the next poll.
  bool recent = false;
  std::optional<uint64_t> hash;  // of the bytes, once they were read
};

// Keyed by the path as the folder's listing spells it.
using ShaderFolderSnapshot = std::map<std::string, ShaderFileState>;

// What happened to each path (in normal form, normalShaderPath) that changed: ok (new, or different bytes), missing (deleted), or
// why it is not read now (tooLarge, folder, notRegular, unreadable).
using ShaderFileChanges = std::map<std::string, InputFileStatus>;
std::vector<std::string> pathsWith(const ShaderFileChanges& changes, InputFileStatus status);

// Polls a folder (recursively; a missing folder holds no files). The first poll takes stock
// (reading only files written in the last moments) and reports the files it cannot read;
// each later one reports what changed.
class ShaderFolderWatcher {
 public:
  explicit ShaderFolderWatcher(std::string folder) : folder_(std::move(folder)) {}
  ShaderFileChanges poll();

 private:
  std::string folder_;
  std::optional<ShaderFolderSnapshot> last_;
};
