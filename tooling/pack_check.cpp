// Pack check: each directory entry is read from its bytes and decoded once.
#include "tooling/pack_check.h"

#include <fcntl.h>
#include <stb_image.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "resources/pack_directory.h"

namespace {

// No pack image is this large; a header that claims it would make the decoder spend seconds.
constexpr int largestImageSide = 8192;

// Why the entry's bytes are no image, or empty when they decode.
std::string decodeProblem(const std::vector<unsigned char>& bytes) {
  int width = 0, height = 0, channels = 0;
  const int size = static_cast<int>(bytes.size());
  if (!stbi_info_from_memory(bytes.data(), size, &width, &height, &channels)) return stbi_failure_reason();
  if (width > largestImageSide || height > largestImageSide)
    return "declares " + std::to_string(width) + "x" + std::to_string(height);
  unsigned char* pixels = stbi_load_from_memory(bytes.data(), size, &width, &height, &channels, 0);
  if (!pixels) return stbi_failure_reason();
  stbi_image_free(pixels);
  return "";
}

std::string firstBadEntry(int fd, const std::string& path) {
  for (const PackEntry& entry : packDirectory) {
    if (entry.offset < 0) continue;
    std::vector<unsigned char> bytes(static_cast<size_t>(entry.size));
    const ssize_t got = pread(fd, bytes.data(), bytes.size(), entry.offset);
    bytes.resize(got > 0 ? static_cast<size_t>(got) : 0);
    const std::string problem = decodeProblem(bytes);
    if (!problem.empty()) return "pack entry " + entry.name + " in " + path + " does not decode (" + problem + ")";
  }
  return "";
}

}  // namespace

std::string packProblem(const std::string& path) {
  // Without O_NONBLOCK a FIFO in the pack's place would hold the open until a writer came.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return "cannot open the pack " + path + ": " + std::strerror(errno);
  struct stat info {};
  std::string problem;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) problem = "the pack " + path + " is not a regular file";
  else problem = firstBadEntry(fd, path);
  close(fd);
  return problem;
}
