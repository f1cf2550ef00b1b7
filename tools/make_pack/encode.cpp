// In-memory PNG and JPEG encoding with stb_image_write, and exact-size padding.
#include "tools/make_pack/encode.h"

#include <stb_image_write.h>

#include <algorithm>
#include <array>

namespace {

void appendBytes(void* context, void* data, int size) {
  auto* out = static_cast<FileBytes*>(context);
  const auto* bytes = static_cast<const uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

uint32_t crc32(const uint8_t* data, size_t size) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) c = table[(c ^ data[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

void putBigEndian(FileBytes& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

}  // namespace

FileBytes encodePng(const Canvas& canvas) {
  FileBytes out;
  stbi_write_png_compression_level = 9;
  stbi_write_png_to_func(appendBytes, &out, canvas.width, canvas.height, canvas.channels, canvas.bytes.data(),
                         canvas.width * canvas.channels);
  return out;
}

FileBytes encodeJpeg(const Canvas& canvas, int quality) {
  FileBytes out;
  stbi_write_jpg_to_func(appendBytes, &out, canvas.width, canvas.height, canvas.channels, canvas.bytes.data(),
                         quality);
  return out;
}

// A "prVt" chunk (ancillary, private) of zero bytes just before IEND.
bool padPng(FileBytes& png, size_t targetSize) {
  constexpr size_t chunkOverhead = 12;
  if (png.size() + chunkOverhead > targetSize || png.size() < 12) return png.size() == targetSize;
  const size_t dataSize = targetSize - png.size() - chunkOverhead;
  FileBytes chunk;
  putBigEndian(chunk, static_cast<uint32_t>(dataSize));
  chunk.insert(chunk.end(), {'p', 'r', 'V', 't'});
  chunk.insert(chunk.end(), dataSize, 0);
  putBigEndian(chunk, crc32(chunk.data() + 4, dataSize + 4));
  png.insert(png.end() - 12, chunk.begin(), chunk.end());
  return png.size() == targetSize;
}

// COM segments of zero bytes right after SOI; each holds at most 65533 bytes of comment.
bool padJpeg(FileBytes& jpeg, size_t targetSize) {
  constexpr size_t segmentOverhead = 4;
  if (jpeg.size() == targetSize) return true;
  if (jpeg.size() + segmentOverhead > targetSize || jpeg.size() < 2) return false;
  size_t remaining = targetSize - jpeg.size();
  FileBytes segments;
  while (remaining > 0) {
    size_t segment = std::min<size_t>(remaining, 65533 + segmentOverhead);
    if (remaining - segment > 0 && remaining - segment < segmentOverhead) segment -= segmentOverhead;
    const size_t length = segment - 2;  // the length field counts itself, not the marker
    segments.insert(segments.end(), {0xFF, 0xFE, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length)});
    segments.insert(segments.end(), segment - segmentOverhead, 0);
    remaining -= segment;
  }
  jpeg.insert(jpeg.begin() + 2, segments.begin(), segments.end());
  return jpeg.size() == targetSize;
}
