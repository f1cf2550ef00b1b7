// CPU image sampling that mirrors GL's texel addressing (texel centres at (i + 0.5) / size).
#include "tests/support/cpu_image.h"

#include <algorithm>
#include <cmath>
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

Rgba sampleNearest(const CpuImage& image, float u, float v) {
  return image.texel(static_cast<int>(std::floor(u * image.width)), static_cast<int>(std::floor(v * image.height)));
}

Rgba sampleLinear(const CpuImage& image, float u, float v) {
  const float s = u * image.width - 0.5f;
  const float t = v * image.height - 0.5f;
  const int x0 = static_cast<int>(std::floor(s));
  const int y0 = static_cast<int>(std::floor(t));
  const float a = s - x0;
  const float b = t - y0;
  const Rgba p00 = image.texel(x0, y0), p10 = image.texel(x0 + 1, y0);
  const Rgba p01 = image.texel(x0, y0 + 1), p11 = image.texel(x0 + 1, y0 + 1);
  Rgba out{};
  for (int c = 0; c < 4; ++c)
    out[c] = (p00[c] * (1 - a) + p10[c] * a) * (1 - b) + (p01[c] * (1 - a) + p11[c] * a) * b;
  return out;
}

float fractf(float x) { return x - std::floor(x); }
float glslMod(float x, float y) { return x - y * std::floor(x / y); }
float clamp01(float x) { return std::clamp(x, 0.0f, 1.0f); }
float mixf(float a, float b, float t) { return a * (1.0f - t) + b * t; }

float smoothstepf(float edge0, float edge1, float x) {
  const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

float patternValue(int x, int y, int c, int seed) {
  uint32_t h = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u ^
               static_cast<uint32_t>(c) * 83492791u ^ static_cast<uint32_t>(seed) * 2654435761u;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  h ^= h >> 15;
  return static_cast<float>(h & 0xffffffu) / 16777216.0f;
}
