// make_pack: writes the resource pack, the 20 directory images back to back, each encoded and
// padded to exactly its directory row's size. Deterministic: no clock, no global random state.
// Usage: make_pack OUT.vx [--preview DIR]   (--preview also writes each image as its own file)
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "resources/pack_directory.h"
#include "tools/make_pack/encode.h"
#include "tools/make_pack/images.h"
#include "tools/make_pack/text.h"

namespace {

bool isJpeg(const std::string& name) { return name.size() > 4 && name.substr(name.size() - 4) == ".jpg"; }

// JPEG quality falls first, then the picture shrinks, until the file fits its row.
std::optional<FileBytes> encodeToFit(const PackEntry& row, ImageDrawing draw) {
  const size_t target = static_cast<size_t>(row.size);
  for (float factor = 1.0f; factor > 0.05f; factor *= 0.9f) {
    const Canvas canvas = draw(factor);
    if (isJpeg(row.name)) {
      for (int quality = 92; quality >= 20; quality -= 6) {
        FileBytes jpeg = encodeJpeg(canvas, quality);
        if (padJpeg(jpeg, target)) return jpeg;
      }
      continue;
    }
    FileBytes png = encodePng(canvas);
    if (padPng(png, target)) return png;
  }
  return std::nullopt;
}

bool writeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

int fail(const std::string& message) {
  std::fprintf(stderr, "make_pack: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--preview"))
    return fail("usage: make_pack OUT.vx [--preview DIR]");
  if (!loadPackFont()) return fail("no DejaVu font in /usr/share/fonts/truetype/dejavu (install fonts-dejavu-core)");
  const std::filesystem::path out = argv[1];
  std::string pack;
  for (const PackEntry& row : packDirectory) {
    const ImageDrawing draw = findImageDrawing(row.name);
    const std::optional<FileBytes> file = draw ? encodeToFit(row, draw) : std::nullopt;
    if (!file) return fail("cannot fit " + row.name + " into " + std::to_string(row.size) + " bytes");
    const std::string bytes(file->begin(), file->end());
    if (argc == 4 && !writeFile(std::filesystem::path(argv[3]) / row.name, bytes))
      return fail("cannot write the preview of " + row.name);
    pack += bytes;
  }
  if (pack.size() != static_cast<size_t>(packFileSize)) return fail("the pack does not add up to its size");
  const std::filesystem::path partial = out.string() + ".part";
  if (!writeFile(partial, pack)) return fail("cannot write " + partial.string());
  std::error_code error;
  std::filesystem::rename(partial, out, error);
  if (error) return fail("cannot write " + out.string());
  return 0;
}
