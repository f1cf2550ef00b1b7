// Shader file text from disk or from the embedded table.
#include "render/shader_files.h"

#include <cstdio>
#include <vector>

#include "render/embedded_shaders.h"
#include "render/input_file.h"
#include "render/shader_build_hooks.h"

namespace {

void printNotFound(const std::string& path) {
  std::printf("\n\n---- File %s NOT FOUND!!!!! ----\n\n", path.c_str());
  std::fflush(stdout);
}

std::optional<std::string> loadFromDisk(const std::string& path) {
  std::vector<unsigned char> bytes;
  const InputFileStatus status = readInputFile(path, 0, 0, maxShaderFileBytes, bytes);
  noteShaderFileRead(path, status == InputFileStatus::ok);
  if (status == InputFileStatus::missing) printNotFound(path);
  if (status != InputFileStatus::ok && status != InputFileStatus::missing) {
    std::printf("cannot read shader file %s: %s\n", path.c_str(),
                inputFileProblem(status, maxShaderFileBytes).c_str());
    std::fflush(stdout);
  }
  if (status != InputFileStatus::ok) return std::nullopt;
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace

std::optional<std::string> loadShaderFile(ShaderFiles source, const std::string& path) {
  if (source == ShaderFiles::Disk) return loadFromDisk(path);
  const std::string* text = findEmbeddedShader(path);
  if (!text) {
    printNotFound(path);
    return std::nullopt;
  }
  return *text;
}
