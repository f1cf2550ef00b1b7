// Encoding a canvas as PNG or JPEG in memory, and padding the file to an exact byte size
// with data decoders skip: a private ancillary chunk in a PNG, comment segments in a JPEG.
// Does NOT shrink anything: a file already larger than its target cannot be padded.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/make_pack/canvas.h"

using FileBytes = std::vector<uint8_t>;

FileBytes encodePng(const Canvas& canvas);
FileBytes encodeJpeg(const Canvas& canvas, int quality);

// False when the file is too large, or too close to the target for the smallest pad.
bool padPng(FileBytes& png, size_t targetSize);
bool padJpeg(FileBytes& jpeg, size_t targetSize);
