// Pass labels from the files their programs were built from.
#include "timing/pass_names.h"

#include <filesystem>

#include "render/embedded_shaders.h"

std::string shaderStem(const std::string& path) { return std::filesystem::path(path).stem().string(); }

void ProgramNames::note(const ShaderBuild& build, uint32_t keptProgramId) {
  if (!build.fragment || keptProgramId != build.programId) return;
  const std::string path = build.fragmentIsFile ? *build.fragment : embeddedPathOf(*build.fragment);
  if (path.empty()) stems_.erase(keptProgramId);
  else stems_[keptProgramId] = shaderStem(path);
}

std::string ProgramNames::stemOf(uint32_t programId) const {
  const auto found = stems_.find(programId);
  return found == stems_.end() ? std::string() : found->second;
}

std::string ProgramNames::passName(PassKind kind, uint32_t programId) const {
  switch (kind) {
    case PassKind::Scene: return "scene";
    case PassKind::Composite: return "composite";
    case PassKind::Post: break;
  }
  const std::string stem = stemOf(programId);
  return stem.empty() ? "post" : stem;
}
