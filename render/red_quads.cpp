// The red bytes of each texel's 2 x 2 footprint, packed into one word.
#include "render/red_quads.h"

#include <cstddef>

std::vector<uint32_t> redNeighbourQuads(const unsigned char* pixels, int width, int height, int channels) {
  if (!pixels || width <= 0 || height <= 0 || channels < 3) return {};
  const auto red = [&](int x, int y) -> uint32_t {
    return pixels[(static_cast<size_t>(y % height) * width + x % width) * channels];
  };
  std::vector<uint32_t> words(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      words[static_cast<size_t>(y) * width + x] =
          red(x, y) | red(x + 1, y) << 8 | red(x, y + 1) << 16 | red(x + 1, y + 1) << 24;
  return words;
}
