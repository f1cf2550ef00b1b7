// Names for the passes a frame draws, for timing tables: "scene", each post pass by the stem of
// its shader file ("bloom", "tentacle_dof"), "composite".
// Owns: the map from program name to shader file stem, filled from the build observer.
// Does NOT build or look at programs itself.
#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>

#include "render/pass_timing_hook.h"
#include "render/shader_build_hooks.h"

// "./shaders/postprocessors/bloom.glsl" gives "bloom".
std::string shaderStem(const std::string& path);

class ProgramNames {
 public:
  // Remembers what `build` was made from under the program name it kept: the file for a file
  // build, the embedded file whose text it is for a text build; nothing for assembled text.
  void note(const ShaderBuild& build, uint32_t keptProgramId);
  // Names a program built outside ShaderProgram (a rebuild from disk).
  void noteStem(uint32_t programId, const std::string& stem) { stems_[programId] = stem; }
  // The stem noted for the program, or empty.
  std::string stemOf(uint32_t programId) const;
  // The label of a pass in timing tables.
  std::string passName(PassKind kind, uint32_t programId) const;

 private:
  std::unordered_map<uint32_t, std::string> stems_;
};
