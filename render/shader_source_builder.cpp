// Snippet concatenation with generated constant lines.
#include "render/shader_source_builder.h"

#include <cstdio>
#include <deque>
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

// Texts built lately with how they were built; a handful is all that program builds need.
constexpr size_t rememberedSources = 16;
std::deque<std::pair<std::string, AssembledSource>>& assembledSources() {
  static std::deque<std::pair<std::string, AssembledSource>> sources;
  return sources;
}

}  // namespace

std::optional<AssembledSource> findAssembledSource(const std::string& text) {
  for (const auto& [built, source] : assembledSources())
    if (built == text) return source;
  return std::nullopt;
}

ShaderSourceBuilder ShaderSourceBuilder::replay(const std::vector<ShaderSourceStep>& steps, ShaderFiles source) {
  ShaderSourceBuilder builder;
  builder.files = source;
  for (const ShaderSourceStep& step : steps) {
    if (step.isFile) builder.addFile(step.text);
    else builder.addGenerated(step.text);
  }
  return builder;
}

void ShaderSourceBuilder::addGenerated(std::string line) {
  steps.push_back({false, line});
  map.lines.push_back({});
  lines.push_back(std::move(line));
}

ShaderSourceBuilder& ShaderSourceBuilder::begin(float gammaValue) {
  gamma = gammaValue;
  addFile("./shaders/lib/basic.glsl");
  addGenerated(formatLine("#define GAMMA %f", gammaValue));
  addFile("./shaders/lib/gamma.glsl");
  return addFile("./shaders/lib/materials.glsl");
}

ShaderSourceBuilder& ShaderSourceBuilder::addRaymarching(float fov, int iterations, float stepSize, float clipNear,
                                                         float clipFar) {
  addFile("./shaders/lib/raymarchingtools.glsl");
  addGenerated(formatLine("#define FOV %f", fov));
  addGenerated("int iterationsCount = 0;");
  addGenerated(formatLine("const int rayMarchIterations = %d;", iterations));
  addGenerated(formatLine("float stepSize = %f;", stepSize));
  addGenerated(formatLine("const float clipNear = %f;", clipNear));
  addGenerated(formatLine("const float clipFar = %f;", clipFar));
  return addFile("./shaders/lib/raymarching.glsl");
}

ShaderSourceBuilder& ShaderSourceBuilder::addDefine(const std::string& definition) {
  addGenerated("#define " + definition);
  return *this;
}

ShaderSourceBuilder& ShaderSourceBuilder::addLights(int lightCount) {
  addGenerated(formatLine("const int LIGHTS = %d;", lightCount));
  addGenerated("const bool USE_AO = true;");
  return addFile("./shaders/lib/light.glsl");
}

ShaderSourceBuilder& ShaderSourceBuilder::addFile(const std::string& path) {
  steps.push_back({true, path});
  map.files.insert(normalShaderPath(path));
  const auto text = loadShaderFile(files, path);
  if (!text) return *this;
  // Include lines are resolved here, from the same source as the file, so a text built from
  // disk takes every line from disk (ShaderProgram would take them from the embedded copies);
  // a file that an earlier piece of this assembly already brought in is not repeated.
  SourceMap expanded;
  std::istringstream in(expandShaderIncludes(*text, files, includes, path, SourceMap::ofFile(path, *text), expanded));
  map.files.insert(expanded.files.begin(), expanded.files.end());
  size_t index = 0;
  for (std::string line; std::getline(in, line); ++index) {
    if (!lines.empty() && line == "#version 140") continue;
    lines.push_back(line);
    map.lines.push_back(index < expanded.lines.size() ? expanded.lines[index] : SourceLine{});
  }
  return *this;
}

std::string ShaderSourceBuilder::build() const {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  auto& sources = assembledSources();
  sources.emplace_back(text, AssembledSource{steps, map});
  if (sources.size() > rememberedSources) sources.pop_front();
  return text;
}
