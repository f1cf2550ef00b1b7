// Version and precision header of a stage text per platform.
#include "render/shader_platform.h"

#include <algorithm>
#include <cctype>

namespace {

// Opaque types that GLSL ES leaves without a default precision in some stage; sampler2D is
// always declared, so that both stages read textures at the precision the desktop does.
const char* const precisionTypes[] = {"sampler3D",        "samplerCube",          "sampler2DArray",
                                      "sampler2DShadow",  "samplerCubeShadow",    "sampler2DArrayShadow",
                                      "isampler2D",       "isampler3D",           "isamplerCube",
                                      "usampler2D",       "usampler3D",           "usamplerCube"};

bool isWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Whether `type` occurs in `text` as a whole word.
bool namesType(const std::string& text, const std::string& type) {
  for (size_t at = text.find(type); at != std::string::npos; at = text.find(type, at + 1)) {
    const size_t end = at + type.size();
    if ((at == 0 || !isWordChar(text[at - 1])) && (end == text.size() || !isWordChar(text[end]))) return true;
  }
  return false;
}

// "#version ...", with blanks allowed before and after the '#'.
bool isVersionLine(const std::string& line) {
  size_t at = line.find_first_not_of(" \t");
  if (at == std::string::npos || line[at] != '#') return false;
  at = line.find_first_not_of(" \t", at + 1);
  return at != std::string::npos && line.compare(at, 7, "version") == 0;
}

std::string webHeader(const std::string& text) {
  std::string header = "#version 300 es\nprecision highp float; precision highp int; precision highp sampler2D;";
  for (const char* type : precisionTypes)
    if (namesType(text, type)) header += std::string(" precision highp ") + type + ";";
  return header + "\n#line 1\n";
}

}  // namespace

std::string stageTextFor(ShaderPlatform platform, const std::string& text) {
  if (platform == ShaderPlatform::Desktop) return text;
  // The first version line, wherever comments before it put it; its line stays, empty.
  std::string body = text;
  for (size_t start = 0; start < body.size();) {
    const size_t end = std::min(body.find('\n', start), body.size());
    if (isVersionLine(body.substr(start, end - start))) {
      body.erase(start, end - start);
      break;
    }
    start = end + 1;
  }
  return webHeader(body) + body;
}
