// Rebuilding programs from disk with errors located in their files.
#include "studio/program_rebuild.h"

#include <GL/glew.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "render/embedded_shaders.h"
#include "render/shader_includes.h"
#include "render/shader_platform.h"
#include "render/shader_program.h"

namespace {

// A vertex argument is a path when such a file exists; GLSL text is never one (nor a name).
bool opensAsFile(const std::string& path) {
  std::error_code error;
  return !path.empty() && path.find('\n') == std::string::npos && std::filesystem::is_regular_file(path, error);
}

std::string stageLog(GLuint shader) {
  char log[4096] = {};
  glGetShaderInfoLog(shader, sizeof log, nullptr, log);
  return log;
}

// Compiles one stage; on failure appends its located log lines to `errors`.
GLuint compileStage(GLenum kind, const std::string& text, const SourceMap& map, std::vector<std::string>& errors) {
  const GLuint shader = glCreateShader(kind);
  const std::string platformText = stageTextFor(shaderPlatform, text);
  const char* source = platformText.c_str();
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint ok = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    const std::vector<std::string> located = locateShaderLog(stageLog(shader), map);
    errors.insert(errors.end(), located.begin(), located.end());
    if (located.empty()) errors.push_back(map.where(1) + ": compile error");
  }
  return shader;
}

struct StageText {
  std::string text;
  SourceMap map;
};

StageText fragmentFromDisk(const ProgramSource& source) {
  StageText stage;
  if (source.assembled) {
    ShaderSourceBuilder builder = ShaderSourceBuilder::replay(source.assembled->steps, ShaderFiles::Disk);
    stage.text = builder.build();
    stage.map = builder.map;
    return stage;
  }
  const std::string text = readTextFile(source.fragmentPath);
  stage.text = expandShaderIncludes(text, ShaderFiles::Disk, source.fragmentPath,
                                    SourceMap::ofFile(source.fragmentPath, text), stage.map);
  return stage;
}

StageText fileStage(const std::string& path) {
  const std::string text = readTextFile(path);
  return {text, SourceMap::ofFile(path, text)};
}

}  // namespace

std::string ProgramSource::mainFile() const {
  std::string path = fragmentPath;
  if (assembled)
    for (const ShaderSourceStep& step : assembled->steps)
      if (step.isFile) path = step.text;
  return normalShaderPath(path);
}

std::string ProgramSource::name() const { return std::filesystem::path(mainFile()).stem().string(); }

ProgramSource describeProgramSource(bool fragmentIsFile, const std::string& vertex, const std::string& fragment,
                                    const std::string& geometry) {
  ProgramSource source;
  source.vertexPath = opensAsFile(vertex) ? vertex : embeddedPathOf(vertex);
  if (source.vertexPath.empty()) source.vertexText = vertex;
  source.fragmentPath = fragmentIsFile ? fragment : embeddedPathOf(fragment);
  if (source.fragmentPath.empty()) source.assembled = findAssembledSource(fragment);
  source.geometryPath = geometry;
  for (const std::string* path : {&source.vertexPath, &source.fragmentPath, &source.geometryPath})
    if (!path->empty()) source.files.insert(normalShaderPath(*path));
  if (source.assembled) source.files.insert(source.assembled->map.files.begin(), source.assembled->map.files.end());
  return source;
}

std::string whyNotReadable(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return errno == ENOENT ? "file not found" : "not readable";
  return S_ISREG(info.st_mode) ? "" : "not a regular file; not read";
}

ProgramRebuild rebuildFromDisk(const ProgramSource& source) {
  ProgramRebuild result;
  result.files = source.files;
  for (const std::string& path : source.files) {
    const std::string why = whyNotReadable(path);
    if (why.empty()) continue;
    result.errors.push_back(path + ": " + why);
    return result;
  }
  const StageText vertex = source.vertexPath.empty() ? StageText{source.vertexText, {}} : fileStage(source.vertexPath);
  const StageText fragment = fragmentFromDisk(source);
  result.files.insert(fragment.map.files.begin(), fragment.map.files.end());
  const GLuint vertexShader = compileStage(GL_VERTEX_SHADER, vertex.text, vertex.map, result.errors);
  const GLuint fragmentShader = compileStage(GL_FRAGMENT_SHADER, fragment.text, fragment.map, result.errors);
  GLuint geometryShader = 0;
  if (!source.geometryPath.empty()) {
    const StageText geometry = fileStage(source.geometryPath);
    geometryShader = compileStage(GL_GEOMETRY_SHADER, geometry.text, geometry.map, result.errors);
  }
  GLuint program = glCreateProgram();
  for (const GLuint shader : {vertexShader, fragmentShader, geometryShader})
    if (shader) glAttachShader(program, shader);
  if (result.errors.empty()) glLinkProgram(program);
  GLint linked = 0;
  glGetProgramiv(program, GL_LINK_STATUS, &linked);
  if (result.errors.empty() && !linked) {
    char log[2048] = {};
    glGetProgramInfoLog(program, sizeof log, nullptr, log);
    for (const std::string& line : locateShaderLog(log, fragment.map))
      result.errors.push_back(source.mainFile() + ": link: " + line);
  }
  for (const GLuint shader : {vertexShader, fragmentShader, geometryShader})
    if (shader) glDeleteShader(shader);
  if (!result.errors.empty() || !linked) {
    if (result.errors.empty()) result.errors.push_back(source.mainFile() + ": link error");
    glDeleteProgram(program);
    program = 0;
  }
  result.programId = program;
  return result;
}

void replaceProgram(ShaderProgram& program, uint32_t programId) {
  const uint32_t old = program.programId;
  program.programId = programId;
  if (old != 0 && old != programId) glDeleteProgram(old);
}
