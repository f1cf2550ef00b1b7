// Shader file text from disk or from the embedded table.
#include "render/shader_files.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "render/embedded_shaders.h"
#include "render/shader_build_hooks.h"

std::optional<std::string> shaderFileText(ShaderFiles source, const std::string& path) {
  if (source == ShaderFiles::Embedded) {
    const std::string* text = findEmbeddedShader(path);
    if (!text) return std::nullopt;
    return *text;
  }
  std::ifstream in(path);
  noteShaderFileRead(path, static_cast<bool>(in));
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void printShaderFileNotFound(const std::string& path) {
  std::printf("\n\n---- File %s NOT FOUND!!!!! ----\n\n", path.c_str());
  std::fflush(stdout);
}
