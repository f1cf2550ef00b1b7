// CPU images with clamp-to-edge texel reads, and the scalar helpers of the pass checks.
#include "tests/support/cpu_image.h"

#include <algorithm>
#include <cstdint>

Rgba CpuImage::texel(int x, int y) const {
  x = std::clamp(x, 0, width - 1);
  y = std::clamp(y, 0, height - 1);
  const size_t at = (static_cast<size_t>(y) * width + x) * 4;
  return {rgba[at], rgba[at + 1], rgba[at + 2], rgba[at + 3]};
}

void CpuImage::set(int x, int y, const Rgba& value) {
  const size_t at = (static_cast<size_t>(y) * width + x) * 4;
  std::copy(value.begin(), value.end(), rgba.begin() + static_cast<std::ptrdiff_t>(at));
}

CpuImage makeImage(int width, int height, const std::function<Rgba(int x, int y)>& pixel) {
  CpuImage image{width, height, std::vector<float>(static_cast<size_t>(width) * height * 4)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.set(x, y, pixel(x, y));
  return image;
}

CpuImage imageFrom(int width, int height, std::vector<float> rgba) { return {width, height, std::move(rgba)}; }

float clamp01(float x) { return std::clamp(x, 0.0f, 1.0f); }
float mixf(float a, float b, float t) { return a * (1.0f - t) + b * t; }

float patternValue(int x, int y, int c, int seed) {
  uint32_t h = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u ^
               static_cast<uint32_t>(c) * 83492791u ^ static_cast<uint32_t>(seed) * 2654435761u;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  h ^= h >> 15;
  return static_cast<float>(h & 0xffffffu) / 16777216.0f;
}
