// Shader program construction and build reports.
#include "render/shader_program.h"

#include "render/gl.h"
#include <sys/stat.h>

#include <iostream>
#include <sstream>

#include "render/shader_build_hooks.h"
#include "render/shader_files.h"
#include "render/shader_includes.h"
#include "render/shader_platform.h"

namespace {

// Whether the vertex argument names something on disk (then it is read, or refused with a
// line saying why) rather than being the GLSL itself. Only the name is looked at: opening a
// FIFO to find out would wait for a writer.
bool namesAFile(const std::string& vertex) {
  struct stat info {};
  return stat(vertex.c_str(), &info) == 0;
}

GLuint compileStage(GLenum stage, const std::string& source, const char* type, const std::string& label) {
  const GLuint shader = glCreateShader(stage);
  const std::string platformSource = stageTextFor(shaderPlatform, source);
  const char* text = platformSource.c_str();
  glShaderSource(shader, 1, &text, nullptr);
  glCompileShader(shader);
  reportBuildStatus(shader, type, label);
  return shader;
}

}  // namespace

std::string readTextFile(const std::string& path) {
  std::istringstream in(loadShaderFile(ShaderFiles::Disk, path).value_or(""));
  std::string text;
  std::string line;
  bool first = true;
  while (std::getline(in, line)) {
    if (!first) text += '\n';
    text += line;
    first = false;
  }
  return text;
}

void reportBuildStatus(uint32_t object, const std::string& type, const std::string& label) {
  const bool isProgram = type == "PROGRAM";
  GLint status = 0;
  if (isProgram)
    glGetProgramiv(object, GL_LINK_STATUS, &status);
  else
    glGetShaderiv(object, GL_COMPILE_STATUS, &status);
  if (status) return;
  char log[1024] = {};
  if (isProgram)
    glGetProgramInfoLog(object, 1024, nullptr, log);
  else
    glGetShaderInfoLog(object, 1024, nullptr, log);
  std::cout << (isProgram ? "ERROR::PROGRAM_LINKING_ERROR of type: " : "ERROR::SHADER_COMPILATION_ERROR of type: ")
            << type << "\n"
            << "File: " << label << "\n"
            << log << "\n -- " << std::string(51, '-') << " -- " << std::endl;
}

ShaderProgram::ShaderProgram(bool fragmentIsFile, std::string vertex, std::string fragment, std::string geometry) {
  const std::string vertexSource = namesAFile(vertex) ? readTextFile(vertex) : vertex;
  const std::string fragmentText = fragmentIsFile ? readTextFile(fragment) : fragment;
  const std::string fragmentSource =
      fragmentIsFile ? expandShaderIncludes(fragmentText, ShaderFiles::Disk, fragment)
                     : expandShaderIncludes(fragmentText, ShaderFiles::Embedded);
  const std::string geometrySource = geometry.empty() ? std::string{} : readTextFile(geometry);

  const GLuint vertexShader = compileStage(GL_VERTEX_SHADER, vertexSource, "VERTEX", vertex);
  const GLuint fragmentShader = compileStage(GL_FRAGMENT_SHADER, fragmentSource, "FRAGMENT", fragment);
  GLuint geometryShader = 0;
#ifdef GL_GEOMETRY_SHADER  // WebGL2 has no geometry stage (and no program of the demo needs one)
  if (!geometrySource.empty())
    geometryShader = compileStage(GL_GEOMETRY_SHADER, geometrySource, "GEOMETRY", geometry);
#endif

  programId = glCreateProgram();
  glAttachShader(programId, vertexShader);
  glAttachShader(programId, fragmentShader);
  if (geometryShader) glAttachShader(programId, geometryShader);
  glLinkProgram(programId);
  reportBuildStatus(programId, "PROGRAM", "program");
  programId = noteProgramBuilt({programId, vertexShader, fragmentShader, geometryShader, fragmentIsFile, &fragment});

  glDeleteShader(vertexShader);
  glDeleteShader(fragmentShader);
  if (geometryShader) glDeleteShader(geometryShader);
  if (shaderBuildHooks.programCreated) shaderBuildHooks.programCreated(*this, fragmentIsFile, vertex, fragment, geometry);
}

ShaderProgram::~ShaderProgram() {
  if (shaderBuildHooks.programDestroyed) shaderBuildHooks.programDestroyed(*this);
}
