// Expansion of shared GLSL functions written once under ./shaders/lib/ and pulled in by a line
// of the form  #include "./shaders/lib/NAME.glsl"  (GLSL itself has no include).
// Owns: expandShaderIncludes and the include state of one assembly. Does NOT compile anything
// and needs no GL.
#pragma once
#include <set>
#include <string>
#include <vector>

#include "render/shader_files.h"
#include "render/source_map.h"

// What one assembly has pulled in so far, and the files being expanded right now (including
// one of those again would be a cycle); paths in normal form (normalShaderPath).
struct ShaderIncludeState {
  std::set<std::string> included;
  std::vector<std::string> open;
};

// Replaces every include line of `source` by the text of the named file from `files`,
// expanding includes inside it too. Each file goes in once; a repeated include line is
// dropped, and so is the include line of a file that is missing or cannot be read, after the
// line that says so. "#version" lines of included files are dropped: only the including text
// may set it. An include line that closes a cycle becomes the line
// "#error include cycle: a -> b -> a", and one nested more than 64 files deep becomes an
// #error line after one "include depth over 64 at FILE:LINE" line on stdout, so the program
// fails to build with that one error.
// `sourcePath`, the file `source` came from (if any), counts as included and open meanwhile,
// so a file that includes itself is a cycle.
std::string expandShaderIncludes(const std::string& source, ShaderFiles files, const std::string& sourcePath = {});
// The same, appending to `map` where each expanded line came from: lines of `source` as
// `sourceMap` says, included lines from their files; `map.files` gains every file asked for.
std::string expandShaderIncludes(const std::string& source, ShaderFiles files, const std::string& sourcePath,
                                 const SourceMap& sourceMap, SourceMap& map);
// The same within a longer assembly: `state` carries over from the texts expanded before.
std::string expandShaderIncludes(const std::string& source, ShaderFiles files, ShaderIncludeState& state,
                                 const std::string& sourcePath, const SourceMap& sourceMap, SourceMap& map);

// The quoted path when `line` is an include line (surrounding blanks allowed), else empty.
std::string includedPath(const std::string& line);
