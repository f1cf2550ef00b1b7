// Full-screen program builders for init and hot reload.
#include "render/pass_programs.h"

#include "render/screen_quad.h"
#include "render/shader_files.h"

PassProgram embeddedPassProgram(const char* fragmentPath) {
  const auto text = loadShaderFile(ShaderFiles::Embedded, fragmentPath);
  return std::make_unique<ShaderProgram>(false, screenQuadVertexSource(), text.value_or(""), "");
}

PassProgram filePassProgram(const char* fragmentPath) {
  return std::make_unique<ShaderProgram>(true, screenQuadVertexPath, fragmentPath, "");
}
