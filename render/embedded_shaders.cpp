// Lookup into the generated table of embedded shader files.
#include "render/embedded_shaders.h"

const std::string* findEmbeddedShader(const std::string& path) {
  const auto& table = embeddedShaders();
  auto it = table.find(path);
  return it == table.end() ? nullptr : &it->second;
}

std::string embeddedPathOf(const std::string& text) {
  for (const auto& [path, embedded] : embeddedShaders())
    if (embedded == text) return path;
  return {};
}
