// Encoders and padders. Padding bytes are a fixed repeating text, so the pack is the same on
// every run.
#include "tools/make_pack/encode.h"

#include <stb_image_write.h>

#include <algorithm>
#include <array>

FileKind fileKindOf(const std::string& name) {
  const auto dot = name.rfind('.');
  std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext == "jpg" || ext == "jpeg" ? FileKind::Jpeg : FileKind::Png;
}

namespace {

void appendToBytes(void* context, void* data, int size) {
  auto* out = static_cast<Bytes*>(context);
  const auto* bytes = static_cast<const unsigned char*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

bool validImage(const Image& image) {
  return image.width > 0 && image.height > 0 && (image.channels == 3 || image.channels == 4) &&
         image.pixels.size() == static_cast<size_t>(image.width) * image.height * image.channels;
}

void putBigEndian32(Bytes& out, size_t at, uint32_t v) {
  out[at] = static_cast<unsigned char>(v >> 24);
  out[at + 1] = static_cast<unsigned char>(v >> 16);
  out[at + 2] = static_cast<unsigned char>(v >> 8);
  out[at + 3] = static_cast<unsigned char>(v);
}

unsigned char fillerByte(size_t i) {
  static const char text[] = "tarvik resource pack padding. ";
  return static_cast<unsigned char>(text[i % (sizeof(text) - 1)]);
}

}  // namespace

Bytes encodePng(const Image& image) {
  Bytes out;
  if (!validImage(image)) return out;
  // The strongest setting of the built-in deflate; slower, but every byte counts against the directory.
  stbi_write_png_compression_level = 12;
  stbi_write_force_png_filter = -1;
  if (!stbi_write_png_to_func(appendToBytes, &out, image.width, image.height, image.channels, image.pixels.data(),
                              image.width * image.channels))
    out.clear();
  return out;
}

Bytes encodeJpeg(const Image& image, int quality) {
  Bytes out;
  if (!validImage(image)) return out;
  if (!stbi_write_jpg_to_func(appendToBytes, &out, image.width, image.height, image.channels, image.pixels.data(),
                              std::clamp(quality, 1, 100)))
    out.clear();
  return out;
}

uint32_t crc32(const unsigned char* data, size_t length) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < length; ++i) c = table[(c ^ data[i]) & 0xFFu] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

bool canPadTo(FileKind kind, size_t size, size_t target) {
  if (size == target) return true;
  const size_t overhead = kind == FileKind::Png ? pngPadOverhead : jpegPadOverhead;
  return size + overhead <= target;
}

bool padPng(Bytes& file, size_t target) {
  static const unsigned char iend[] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
  if (file.size() < 8 + sizeof(iend) || !std::equal(std::begin(iend), std::end(iend), file.end() - sizeof(iend)))
    return false;
  if (file.size() == target) return true;
  if (!canPadTo(FileKind::Png, file.size(), target)) return false;
  // "prVt": ancillary, private, safe to copy; decoders skip it.
  const size_t payload = target - file.size() - pngPadOverhead;
  Bytes chunk(pngPadOverhead + payload);
  putBigEndian32(chunk, 0, static_cast<uint32_t>(payload));
  std::copy_n("prVt", 4, chunk.begin() + 4);
  for (size_t i = 0; i < payload; ++i) chunk[8 + i] = fillerByte(i);
  putBigEndian32(chunk, 8 + payload, crc32(chunk.data() + 4, 4 + payload));
  file.insert(file.end() - sizeof(iend), chunk.begin(), chunk.end());
  return true;
}

namespace {

// After SOI, and after the JFIF APP0 segment when there is one, so that header stays first.
size_t jpegInsertPoint(const Bytes& file) {
  if (file.size() >= 6 && file[2] == 0xFF && file[3] == 0xE0) {
    const size_t length = (static_cast<size_t>(file[4]) << 8) | file[5];
    if (4 + length <= file.size()) return 4 + length;
  }
  return 2;
}

}  // namespace

bool padJpeg(Bytes& file, size_t target) {
  if (file.size() < 4 || file[0] != 0xFF || file[1] != 0xD8) return false;
  if (file.size() == target) return true;
  if (!canPadTo(FileKind::Jpeg, file.size(), target)) return false;
  constexpr size_t maxSegment = 65533 + jpegPadOverhead;  // the length field counts itself
  Bytes segments;
  size_t gap = target - file.size();
  while (gap > 0) {
    size_t seg = std::min(gap, maxSegment);
    if (gap - seg > 0 && gap - seg < jpegPadOverhead) seg -= jpegPadOverhead;  // leave room for one more
    const size_t payload = seg - jpegPadOverhead;
    segments.push_back(0xFF);
    segments.push_back(0xFE);
    segments.push_back(static_cast<unsigned char>((payload + 2) >> 8));
    segments.push_back(static_cast<unsigned char>((payload + 2) & 0xFF));
    for (size_t i = 0; i < payload; ++i) segments.push_back(fillerByte(i));
    gap -= seg;
  }
  file.insert(file.begin() + static_cast<std::ptrdiff_t>(jpegInsertPoint(file)), segments.begin(), segments.end());
  return true;
}
