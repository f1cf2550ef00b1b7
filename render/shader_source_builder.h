// Assembling a ray-marched scene's fragment text from the shared snippets under
// ./shaders/lib/, a few generated constant lines and the scene's own file.
// Owns: ShaderSourceBuilder, a plain value filled by chained calls and built once.
// Does NOT compile anything: the caller hands the text to ShaderProgram.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "render/shader_files.h"
#include "render/shader_includes.h"
#include "render/source_map.h"

// One call of the chain, enough to assemble the same text again from another source.
struct ShaderSourceStep {
  bool isFile = false;
  std::string text;  // the file path, or the generated line
};

struct ShaderSourceBuilder {
  // Disk for hot reload; Embedded gives the same layout from the copies built into the program.
  ShaderFiles files = ShaderFiles::Disk;
  float gamma = 0.0f;              // kept as given to begin, not used again
  std::vector<std::string> lines;  // one piece per line, without line feeds
  SourceMap map;                   // where each piece of `lines` came from
  std::vector<ShaderSourceStep> steps;  // the chain as called
  ShaderIncludeState includes;     // files this assembly already holds, across addFile calls

  ShaderSourceBuilder& begin(float gammaValue);
  ShaderSourceBuilder& addRaymarching(float fov, int iterations, float stepSize, float clipNear, float clipFar);
  ShaderSourceBuilder& addLights(int lightCount);
  // Appends the file's lines; a "#version 140" line survives only as the very first line (on
  // the web, ShaderProgram compiles the text under the GLSL ES header of stageTextFor instead).
  // An include line in the file is replaced by the included text from the same source, once
  // per assembly.
  ShaderSourceBuilder& addFile(const std::string& path);
  // Appends the line "#define " + definition (a name, or a name and its value), for a scene
  // file that builds one program per variant.
  ShaderSourceBuilder& addDefine(const std::string& definition);
  // The pieces joined by single line feeds, none after the last. The text is remembered with
  // its steps and map (findAssembledSource), so a program built over it can be rebuilt.
  std::string build() const;

  // The same chain assembled again from `source`.
  static ShaderSourceBuilder replay(const std::vector<ShaderSourceStep>& steps, ShaderFiles source);

 private:
  void addGenerated(std::string line);
};

struct AssembledSource {
  std::vector<ShaderSourceStep> steps;
  SourceMap map;
};
// The steps and map of a text that build() returned lately (the newest few are kept).
std::optional<AssembledSource> findAssembledSource(const std::string& text);
