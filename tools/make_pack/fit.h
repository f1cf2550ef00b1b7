// Fitting a drawing to its directory row: encode the richest form that, padded, is exactly
// the row's byte size. JPEG tries falling qualities before a simpler drawing; PNG goes
// straight to the next simpler drawing. Nothing is ever truncated.
// Does NOT know which drawing belongs to which name (pack.h).
#pragma once
#include <cstddef>
#include <string>

#include "tools/make_pack/art.h"
#include "tools/make_pack/encode.h"

struct PackImage {
  std::string name;
  Bytes file;            // exactly the row's size
  size_t encodedSize = 0;  // before padding
  int level = 0;
  int jpegQuality = 0;   // 0 for PNG
  int width = 0, height = 0, channels = 0;
};

bool fitImage(const std::string& name, size_t budget, DrawFn draw, const ArtContext& art, PackImage& out,
              std::string& error);
