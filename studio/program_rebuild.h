// Building a live program again from the files under ./shaders/: what each ShaderProgram was
// built from (one fragment file, or a text that ShaderSourceBuilder assembled, over a vertex
// file or text), the rebuild from disk with compile errors placed in the files people edit,
// and the swap that frees the program it replaces.
// Owns: ProgramSource and the rebuild. Does NOT decide which programs to rebuild nor keep a
// list of them: the studio does, through the program hooks of shaderBuildHooks.
#pragma once
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "render/shader_source_builder.h"
#include "render/source_map.h"

class ShaderProgram;

struct ProgramSource {
  std::string vertexPath;    // the vertex stage's file; empty: vertexText is compiled as it is
  std::string vertexText;
  std::string fragmentPath;  // a one-file fragment stage, its includes taken from the same place
  std::optional<AssembledSource> assembled;  // or a fragment assembled by ShaderSourceBuilder
  std::string geometryPath;
  std::set<std::string> files;  // every file the latest build read or looked for (normal form)

  bool rebuildable() const { return !fragmentPath.empty() || assembled.has_value(); }
  // The fragment's own file: the one file, or the last file of an assembled text.
  std::string mainFile() const;
  // Its stem ("rgbsplit").
  std::string name() const;
};

// What ShaderProgram's arguments were built from: files found by path, embedded copies by
// their text, assembled texts through findAssembledSource.
ProgramSource describeProgramSource(bool fragmentIsFile, const std::string& vertex, const std::string& fragment,
                                    const std::string& geometry);

struct ProgramRebuild {
  uint32_t programId = 0;           // the new program; 0 when it failed (and was deleted)
  std::vector<std::string> errors;  // "shaders/x.glsl:33: error: ..." lines of a failed build
  std::set<std::string> files;      // every file this build read or looked for
};

// Compiles and links `source` from the files on disk; a failed program is deleted at once.
// A file of the program that is missing or not a regular file (a FIFO, a folder) is one error
// line naming it, and nothing is compiled.
ProgramRebuild rebuildFromDisk(const ProgramSource& source);

// Puts `programId` in `program` and deletes the program it held (GL keeps a program bound for
// drawing alive until it is no longer in use).
void replaceProgram(ShaderProgram& program, uint32_t programId);

// Why `path` cannot be read as a shader file ("file not found"), from stat alone; empty when
// it is a regular file.
std::string whyNotReadable(const std::string& path);
