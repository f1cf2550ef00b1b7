// Header checks before stb_image decodes a pack entry from memory.
#include "resources/pack_image.h"

#include <stb_image.h>

#include <climits>
#include <cstdint>
#include <cstring>

#include "resources/image_structure.h"

namespace {

enum class ImageKind { png, jpeg, other };

ImageKind kindOf(const unsigned char* bytes, size_t size) {
  static const unsigned char pngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (size >= 8 && std::memcmp(bytes, pngSignature, 8) == 0) return ImageKind::png;
  if (size >= 3 && bytes[0] == 0xff && bytes[1] == 0xd8 && bytes[2] == 0xff) return ImageKind::jpeg;
  return ImageKind::other;
}

// The most pixels one byte of each format can describe: deflate turns one byte into at most
// 1032, each holding eight 1-bit pixels; a JPEG spends at least one bit on every 8x8 block.
uint64_t maxPixelsPerByte(ImageKind kind) { return kind == ImageKind::png ? 1032 * 8 : 64 * 8; }

// Whether the declared size is one a real image of this many bytes can have; a forged header
// would otherwise make the decoder fill a huge picture from nothing.
bool headerIsPlausible(const unsigned char* bytes, size_t size, ImageKind kind) {
  int width = 0;
  int height = 0;
  int channels = 0;
  if (!stbi_info_from_memory(bytes, static_cast<int>(size), &width, &height, &channels)) return false;
  if (width <= 0 || height <= 0 || width > maxPackImageSide || height > maxPackImageSide) return false;
  return static_cast<uint64_t>(width) * static_cast<uint64_t>(height) <= maxPixelsPerByte(kind) * size;
}

}  // namespace

InputFileStatus readPackEntry(const char* packPath, const PackEntry& entry, std::vector<unsigned char>& out) {
  out.clear();
  if (entry.offset < 0 || entry.size <= 0) return InputFileStatus::ok;
  // The pack is read one entry at a time, so its own length needs no limit.
  return readInputFile(packPath, static_cast<uint64_t>(entry.offset), static_cast<uint64_t>(entry.size), UINT64_MAX,
                       out);
}

PackImage decodePackImage(const unsigned char* bytes, size_t size, bool flip) {
  stbi_set_flip_vertically_on_load(flip ? 1 : 0);
  PackImage image;
  const ImageKind kind = size > 0 && size <= INT_MAX ? kindOf(bytes, size) : ImageKind::other;
  if (kind == ImageKind::other) return image;
  // Reading the header already builds the Huffman tables, so the structure is checked first.
  if (kind == ImageKind::jpeg && !jpegHuffmanTablesFit(bytes, size)) return image;
  if (kind == ImageKind::png && !pngChunksFit(bytes, size)) return image;
  if (!headerIsPlausible(bytes, size, kind)) return image;
  unsigned char* pixels =
      stbi_load_from_memory(bytes, static_cast<int>(size), &image.width, &image.height, &image.channels, 0);
  if (!pixels) return PackImage{};
  image.pixels = {pixels, stbi_image_free};
  return image;
}
