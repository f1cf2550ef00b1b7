// The fit loop.
#include "tools/make_pack/fit.h"

namespace {

const int jpegQualities[] = {95, 93, 91, 89, 87, 85, 82, 79, 76, 72, 68, 64, 60, 55, 50};

bool accept(const std::string& name, Bytes file, size_t budget, FileKind kind, const Image& image, int level,
            int quality, PackImage& out) {
  if (file.empty() || !canPadTo(kind, file.size(), budget)) return false;
  const size_t encoded = file.size();
  if (!(kind == FileKind::Png ? padPng(file, budget) : padJpeg(file, budget))) return false;
  out = PackImage{name, std::move(file), encoded, level, quality, image.width, image.height, image.channels};
  return true;
}

}  // namespace

bool fitImage(const std::string& name, size_t budget, DrawFn draw, const ArtContext& art, PackImage& out,
              std::string& error) {
  const FileKind kind = fileKindOf(name);
  for (int level = 0;; ++level) {
    const Image image = draw(art, level);
    if (image.width <= 0) break;
    if (kind == FileKind::Png) {
      if (accept(name, encodePng(image), budget, kind, image, level, 0, out)) return true;
      continue;
    }
    for (int quality : jpegQualities)
      if (accept(name, encodeJpeg(image, quality), budget, kind, image, level, quality, out)) return true;
  }
  error = name + " does not fit in " + std::to_string(budget) + " bytes even in its simplest form";
  return false;
}
