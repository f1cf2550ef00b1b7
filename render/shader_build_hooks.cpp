// The optional shader build observers and the GL status look-ups they use.
#include "render/shader_build_hooks.h"

#include "render/gl.h"

#include <sstream>

ShaderBuildHooks shaderBuildHooks;

namespace {

std::string firstNonEmptyLine(const std::string& log) {
  std::istringstream lines(log);
  std::string line;
  while (std::getline(lines, line))
    if (line.find_first_not_of(" \t\r") != std::string::npos) return line;
  return {};
}

// True with the first line of the stage's log when the stage failed to compile.
bool stageFailed(uint32_t shader, std::string& firstError) {
  if (shader == 0) return false;
  GLint status = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
  if (status) return false;
  char log[1024] = {};
  glGetShaderInfoLog(shader, sizeof log, nullptr, log);
  firstError = firstNonEmptyLine(log);
  if (firstError.empty()) firstError = "compile error";
  return true;
}

}  // namespace

void noteShaderFileRead(const std::string& path, bool found) {
  if (shaderBuildHooks.fileRead) shaderBuildHooks.fileRead(path, found);
}

uint32_t noteProgramBuilt(const ShaderBuild& build) {
  return shaderBuildHooks.programBuilt ? shaderBuildHooks.programBuilt(build) : build.programId;
}

ShaderBuildCheck checkShaderBuild(const ShaderBuild& build) {
  ShaderBuildCheck check;
  for (const uint32_t stage : {build.vertexShader, build.fragmentShader, build.geometryShader}) {
    if (stageFailed(stage, check.firstError)) {
      check.ok = false;
      return check;
    }
  }
  GLint linked = 0;
  glGetProgramiv(build.programId, GL_LINK_STATUS, &linked);
  if (linked) return check;
  char log[1024] = {};
  glGetProgramInfoLog(build.programId, sizeof log, nullptr, log);
  check.ok = false;
  check.firstError = firstNonEmptyLine(log);
  if (check.firstError.empty()) check.firstError = "link error";
  return check;
}

void discardProgram(uint32_t programId) {
  if (programId != 0) glDeleteProgram(programId);
}
