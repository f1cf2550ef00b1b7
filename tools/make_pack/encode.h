// Image files of the pack: PNG and JPEG encoding to memory through stb_image_write, and
// padding an encoded file to an exact byte length without changing its pixels (a private
// ancillary PNG chunk before IEND; JPEG comment segments after the JFIF header).
// Does NOT decide how an image is drawn or simplified (fit.h does that).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/make_pack/canvas.h"

using Bytes = std::vector<unsigned char>;

enum class FileKind { Png, Jpeg };
// By the name's extension: ".jpg" and ".jpeg" are JPEG, anything else PNG.
FileKind fileKindOf(const std::string& name);

Bytes encodePng(const Image& image);
Bytes encodeJpeg(const Image& image, int quality);

uint32_t crc32(const unsigned char* data, size_t length);

// The smallest growth each format can pad by (one chunk or one segment with no payload).
constexpr size_t pngPadOverhead = 12;
constexpr size_t jpegPadOverhead = 4;
// True when `size` can be padded to exactly `target` bytes.
bool canPadTo(FileKind kind, size_t size, size_t target);

// Grow the file to exactly `target` bytes; false (file untouched) when that is impossible.
bool padPng(Bytes& file, size_t target);
bool padJpeg(Bytes& file, size_t target);
