// Non-blocking open, a regular-file check on the open descriptor, then plain reads.
#include "render/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {

// Reads exactly out.size() bytes from `start`; false on an error or a file that shrank meanwhile.
bool readAt(int fd, uint64_t start, std::vector<unsigned char>& out) {
  size_t done = 0;
  while (done < out.size()) {
    const ssize_t got = pread(fd, out.data() + done, out.size() - done, static_cast<off_t>(start + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += static_cast<size_t>(got);
  }
  return true;
}

InputFileStatus readOpenFile(int fd, uint64_t offset, uint64_t length, uint64_t maxBytes,
                             std::vector<unsigned char>& out) {
  // The check runs on the descriptor, so the path cannot be swapped for a FIFO after it.
  struct stat info {};
  if (fstat(fd, &info) != 0) return InputFileStatus::unreadable;
  if (S_ISDIR(info.st_mode)) return InputFileStatus::folder;
  if (!S_ISREG(info.st_mode)) return InputFileStatus::notRegular;
  const uint64_t total = static_cast<uint64_t>(info.st_size);
  if (total > maxBytes) return InputFileStatus::tooLarge;
  const uint64_t start = std::min(offset, total);
  const uint64_t count = length == 0 ? total - start : std::min(length, total - start);
  out.resize(static_cast<size_t>(count));
  return readAt(fd, start, out) ? InputFileStatus::ok : InputFileStatus::unreadable;
}

}  // namespace

InputFileStatus readInputFile(const std::string& path, uint64_t offset, uint64_t length, uint64_t maxBytes,
                              std::vector<unsigned char>& out) {
  out.clear();
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? InputFileStatus::missing : InputFileStatus::unreadable;
  const InputFileStatus status = readOpenFile(fd, offset, length, maxBytes, out);
  close(fd);
  if (status != InputFileStatus::ok) out.clear();
  return status;
}

std::string inputFileProblem(InputFileStatus status, uint64_t maxBytes) {
  switch (status) {
    case InputFileStatus::ok: return {};
    case InputFileStatus::missing: return "it does not exist";
    case InputFileStatus::folder: return "it is a folder";
    case InputFileStatus::notRegular: return "it is not a regular file";
    case InputFileStatus::unreadable: return "it is not readable";
    case InputFileStatus::tooLarge: return "it is larger than " + std::to_string(maxBytes >> 20) + " MiB";
  }
  return {};
}
