// Located shader logs in the page.
#include "web/web_shader_errors.h"

#include <cstdio>

#include "render/embedded_shaders.h"
#include "render/gl.h"
#include "render/shader_includes.h"
#include "render/shader_program.h"
#include "render/shader_source_builder.h"
#include "render/source_map.h"

namespace {

// The map of the fragment text as ShaderProgram assembled it: a file, or an embedded file's
// copy, with its includes; a text the source builder made; an other text keeps the compiler's
// own line numbers.
SourceMap fragmentMap(const ShaderBuild& build) {
  if (const std::optional<AssembledSource> assembled = findAssembledSource(*build.fragment)) return assembled->map;
  const std::string path = build.fragmentIsFile ? *build.fragment : embeddedPathOf(*build.fragment);
  if (path.empty()) return {};
  const ShaderFiles source = build.fragmentIsFile ? ShaderFiles::Disk : ShaderFiles::Embedded;
  const std::string text = build.fragmentIsFile ? readTextFile(path) : *build.fragment;
  SourceMap map;
  expandShaderIncludes(text, source, path, SourceMap::ofFile(path, text), map);
  return map;
}

}  // namespace

void reportShaderErrors(const ShaderBuild& build) {
  GLint compiled = 1;
  glGetShaderiv(build.fragmentShader, GL_COMPILE_STATUS, &compiled);
  if (compiled || !build.fragment) return;
  char log[4096] = {};
  glGetShaderInfoLog(build.fragmentShader, sizeof log, nullptr, log);
  for (const std::string& line : locateShaderLog(log, fragmentMap(build))) std::printf("%s\n", line.c_str());
}

void watchShaderErrors() {
  shaderBuildHooks.programBuilt = [](const ShaderBuild& build) {
    reportShaderErrors(build);
    return build.programId;
  };
}
