// Assembling a ray-marched scene's fragment text from the shared snippets under
// ./shaders/lib/, a few generated constant lines and the scene's own file.
// Owns: ShaderSourceBuilder, a plain value filled by chained calls and built once.
// Does NOT compile anything: the caller hands the text to ShaderProgram.
#pragma once
#include <string>
#include <vector>

#include "render/shader_files.h"
#include "render/shader_includes.h"

struct ShaderSourceBuilder {
  // Disk for hot reload; Embedded gives the same layout from the copies built into the program.
  ShaderFiles files = ShaderFiles::Disk;
  float gamma = 0.0f;              // kept as given to begin, not used again
  std::vector<std::string> lines;  // one piece per line, without line feeds
  ShaderIncludeState includes;     // files this assembly already holds, across addFile calls

  ShaderSourceBuilder& begin(float gammaValue);
  ShaderSourceBuilder& addRaymarching(float fov, int iterations, float stepSize, float clipNear, float clipFar);
  ShaderSourceBuilder& addLights(int lightCount);
  // Appends the file's lines; a "#version 140" line survives only as the very first line.
  // An include line in the file is replaced by the included text from the same source, once
  // per assembly.
  ShaderSourceBuilder& addFile(const std::string& path);
  // The pieces joined by single line feeds, none after the last.
  std::string build() const;
};
