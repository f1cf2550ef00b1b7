// Pack check: each directory entry is read and decoded once, through the same reader and decoder
// the loader uses, so the tools refuse exactly what would come up as a stand-in texture.
#include "tooling/pack_check.h"

#include <vector>

#include "render/input_file.h"
#include "resources/pack_image.h"

namespace {

std::string firstBadEntry(const std::string& path) {
  std::vector<unsigned char> bytes;
  for (const PackEntry& entry : packDirectory) {
    if (entry.offset < 0) continue;
    const InputFileStatus status = readPackEntry(path.c_str(), entry, bytes);
    if (status != InputFileStatus::ok) return "cannot read the pack " + path + ": " + inputFileProblem(status, 0);
    if (!decodePackImage(bytes.data(), bytes.size(), false).pixels)
      return "pack entry " + entry.name + " in " + path + " does not decode";
  }
  return "";
}

}  // namespace

std::string packProblem(const std::string& path) {
  std::vector<unsigned char> none;
  // Reading one byte opens and checks the file without loading it.
  const InputFileStatus status = readInputFile(path, 0, 1, UINT64_MAX, none);
  switch (status) {
    case InputFileStatus::ok: return firstBadEntry(path);
    case InputFileStatus::missing: return "cannot open the pack " + path + ": No such file or directory";
    case InputFileStatus::folder:
    case InputFileStatus::notRegular: return "the pack " + path + " is not a regular file";
    default: return "cannot open the pack " + path + ": " + inputFileProblem(status, 0);
  }
}
