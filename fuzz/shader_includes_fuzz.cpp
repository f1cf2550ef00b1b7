// Fuzz target: the shader source builder reading two files from disk that may include each
// other, the library snippets, themselves or any other path, then the same text expanded
// against the embedded copies. The input is split at its first NUL byte into the two files.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "render/shader_includes.h"
#include "render/shader_source_builder.h"

namespace {

namespace fs = std::filesystem;

void writeFile(const char* path, const uint8_t* data, size_t size) {
  const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) return;
  for (size_t done = 0; done < size;) {
    const ssize_t n = write(fd, data + done, size - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  close(fd);
}

}  // namespace

// A private working folder in memory with a copy of shaders/, so included paths resolve as
// they would under the demo's working directory.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
  const fs::path folder = base / ("tarvik_fuzz_shaders_" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  fs::copy(fs::path(TARVIK_SOURCE_DIR) / "shaders", folder / "shaders", fs::copy_options::recursive);
  fs::current_path(folder);
  static const fs::path removeAtExit = folder;
  std::atexit([] { fs::remove_all(removeAtExit); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  size_t split = 0;
  while (split < size && data[split] != 0) ++split;
  writeFile("./shaders/scenes/fuzz_a.glsl", data, split);
  const size_t rest = split < size ? split + 1 : size;
  writeFile("./shaders/lib/fuzz_b.glsl", data + rest, size - rest);
  ShaderSourceBuilder{}.addFile("./shaders/lib/fuzz_b.glsl").addFile("./shaders/scenes/fuzz_a.glsl").build();
  expandShaderIncludes(std::string(reinterpret_cast<const char*>(data), split), ShaderFiles::Embedded);
  return 0;
}
