// Snippet concatenation with generated constant lines.
#include "render/shader_source_builder.h"

#include <cstdio>
#include <sstream>

#include "render/shader_includes.h"

namespace {

// "%f" and "%d" formatting of one generated line, whatever its length.
template <typename Value>
std::string formatLine(const char* format, Value value) {
  const int length = std::snprintf(nullptr, 0, format, value);
  std::string line(static_cast<size_t>(length > 0 ? length : 0), '\0');
  std::snprintf(line.data(), line.size() + 1, format, value);
  return line;
}

}  // namespace

ShaderSourceBuilder& ShaderSourceBuilder::begin(float gammaValue) {
  gamma = gammaValue;
  addFile("./shaders/lib/basic.glsl");
  lines.push_back(formatLine("#define GAMMA %f", gammaValue));
  addFile("./shaders/lib/gamma.glsl");
  return addFile("./shaders/lib/materials.glsl");
}

ShaderSourceBuilder& ShaderSourceBuilder::addRaymarching(float fov, int iterations, float stepSize, float clipNear,
                                                         float clipFar) {
  addFile("./shaders/lib/raymarchingtools.glsl");
  lines.push_back(formatLine("#define FOV %f", fov));
  lines.push_back("int iterationsCount = 0;");
  lines.push_back(formatLine("const int rayMarchIterations = %d;", iterations));
  lines.push_back(formatLine("float stepSize = %f;", stepSize));
  lines.push_back(formatLine("const float clipNear = %f;", clipNear));
  lines.push_back(formatLine("const float clipFar = %f;", clipFar));
  return addFile("./shaders/lib/raymarching.glsl");
}

ShaderSourceBuilder& ShaderSourceBuilder::addLights(int lightCount) {
  lines.push_back(formatLine("const int LIGHTS = %d;", lightCount));
  lines.push_back("const bool USE_AO = true;");
  return addFile("./shaders/lib/light.glsl");
}

ShaderSourceBuilder& ShaderSourceBuilder::addFile(const std::string& path) {
  const auto text = shaderFileText(files, path);
  if (!text) {
    printShaderFileNotFound(path);
    return *this;
  }
  // Include lines are resolved here, from the same source as the file, so a text built from
  // disk takes every line from disk (ShaderProgram would take them from the embedded copies);
  // a file that an earlier piece of this assembly already brought in is not repeated.
  std::istringstream in(expandShaderIncludes(*text, files, includes, path));
  for (std::string line; std::getline(in, line);) {
    if (!lines.empty() && line == "#version 140") continue;
    lines.push_back(line);
  }
  return *this;
}

std::string ShaderSourceBuilder::build() const {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  return text;
}
