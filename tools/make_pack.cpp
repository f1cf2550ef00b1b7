// make_pack OUT_PATH [--preview DIR]: draws the twenty images of the resource pack, fits each
// to its directory row and writes their concatenation. With --preview every image is also
// written on its own into DIR, under its directory name, for looking at.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <stb_image.h>

#include "resources/pack_directory.h"
#include "tools/make_pack/pack.h"

namespace {

bool parseArgs(int argc, char** argv, std::string& out, std::string& preview) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--preview" && i + 1 < argc)
      preview = argv[++i];
    else if (out.empty() && arg.rfind("--", 0) != 0)
      out = arg;
    else
      return false;
  }
  return !out.empty();
}

// A viewing copy decoded back from the file: transparency over a grey checkerboard, small
// images enlarged to at least 512 pixels, always PNG.
Image viewingCopy(const Bytes& file) {
  int w = 0, h = 0, n = 0;
  stbi_uc* pixels = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &w, &h, &n, 4);
  if (!pixels) return {};
  const int zoom = std::max(1, 512 / std::max(w, h));
  Canvas view = makeCanvas(w * zoom, h * zoom, Rgba{});
  for (int y = 0; y < view.height; ++y)
    for (int x = 0; x < view.width; ++x) {
      const stbi_uc* p = pixels + (static_cast<size_t>(y / zoom) * w + std::min(x / zoom, w - 1)) * 4;
      const float check = ((x / 16 + y / 16) % 2) ? 0.3f : 0.2f, a = p[3] / 255.0f;
      view.pixels[static_cast<size_t>(y) * view.width + x] = {check + (p[0] / 255.0f - check) * a,
                                                              check + (p[1] / 255.0f - check) * a,
                                                              check + (p[2] / 255.0f - check) * a, 1.0f};
    }
  stbi_image_free(pixels);
  return toImage(view, 3);
}

bool writePreview(const std::string& folder, const std::vector<PackImage>& images, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  for (const PackImage& image : images) {
    const std::filesystem::path base = std::filesystem::path(folder) / image.name;
    if (!writeBytes(base.string(), image.file, error) ||
        !writeBytes(base.string() + ".view.png", encodePng(viewingCopy(image.file)), error))
      return false;
  }
  return true;
}

void report(const PackImage& image) {
  std::printf("  %-20s %4dx%-4d %d ch  level %d%s  %zu -> %zu bytes\n", image.name.c_str(), image.width,
              image.height, image.channels, image.level,
              image.jpegQuality ? (" q" + std::to_string(image.jpegQuality)).c_str() : "", image.encodedSize,
              image.file.size());
}

}  // namespace

int main(int argc, char** argv) {
  std::string outPath, previewDir;
  if (!parseArgs(argc, argv, outPath, previewDir)) {
    std::printf("usage: make_pack OUT_PATH [--preview DIR]\n");
    return 1;
  }
  Font font;
  std::string tried;
  if (!loadDemoFont(font, tried)) {
    std::printf("make_pack: no usable font (tried %s); install fonts-dejavu-core\n", tried.c_str());
    return 1;
  }
  const ArtContext art{font};
  std::vector<PackImage> images;
  std::string error;
  if (!buildPackImages(art, images, error)) {
    std::printf("make_pack: %s\n", error.c_str());
    return 1;
  }
  const Bytes pack = concatenatePack(images);
  if (pack.size() != static_cast<size_t>(packFileSize)) {
    std::printf("make_pack: pack is %zu bytes, expected %d\n", pack.size(), packFileSize);
    return 1;
  }
  if (!writeBytes(outPath, pack, error) || (!previewDir.empty() && !writePreview(previewDir, images, error))) {
    std::printf("make_pack: %s\n", error.c_str());
    return 1;
  }
  for (const PackImage& image : images) report(image);
  std::printf("make_pack: wrote %s (%zu bytes, %zu images)\n", outPath.c_str(), pack.size(), images.size());
  return 0;
}
