// One pack entry from file bytes to pixels: reading the entry, checking its header, decoding.
// Owns: PackImage, readPackEntry, decodePackImage.
// Does NOT touch GL: resources/pack_loader uploads what this decodes.
#pragma once
#include <cstddef>
#include <memory>
#include <vector>

#include "render/input_file.h"
#include "resources/pack_directory.h"

// No pack image is larger; a header that says so is lying or hostile.
constexpr int maxPackImageSide = 8192;

struct PackImage {
  int width = 0;
  int height = 0;
  int channels = 0;  // the image's own count: 1 grey, 2 grey-alpha, 3 RGB, 4 RGBA
  std::unique_ptr<unsigned char, void (*)(void*)> pixels{nullptr, nullptr};
};

// The bytes of `entry` in the pack at `packPath`, cut short where the file ends. The pack is
// opened without blocking and must be a regular file.
InputFileStatus readPackEntry(const char* packPath, const PackEntry& entry, std::vector<unsigned char>& out);

// Decodes a PNG or JPEG with its own channel count at 8 bits, rows flipped bottom to top when
// `flip`. No pixels when the bytes are neither, when the header declares a side over
// maxPackImageSide or more pixels than that many bytes of the format can hold, when a JPEG's
// Huffman tables would overrun the decoder's or a PNG chunk runs past the end, or when the
// decode fails. The decoder's flip switch stays set to `flip` afterwards.
PackImage decodePackImage(const unsigned char* bytes, size_t size, bool flip);
