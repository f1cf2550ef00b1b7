// Noise functions: hashed gradients on a wrapping lattice with quintic fades, and a wrapping
// jittered-point cell field.
#include "tools/make_pack/noise.h"

#include <cmath>

uint64_t Prng::nextBits() {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

float Prng::next() { return static_cast<float>(nextBits() >> 40) * (1.0f / 16777216.0f); }

float Prng::range(float lo, float hi) { return lo + (hi - lo) * next(); }

uint32_t hashCell(int x, int y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 0x8DA6B343u ^ static_cast<uint32_t>(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

namespace {

int wrap(int i, int period) {
  const int m = i % period;
  return m < 0 ? m + period : m;
}

float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

float cornerDot(int ix, int iy, int period, uint32_t seed, float dx, float dy) {
  const uint32_t h = hashCell(wrap(ix, period), wrap(iy, period), seed);
  const float angle = static_cast<float>(h & 0xFFFFu) * (6.2831853f / 65536.0f);
  return std::cos(angle) * dx + std::sin(angle) * dy;
}

}  // namespace

float gradientNoise(float u, float v, int period, uint32_t seed) {
  const float x = u * period, y = v * period;
  const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
  const float fx = x - ix, fy = y - iy;
  const float n00 = cornerDot(ix, iy, period, seed, fx, fy);
  const float n10 = cornerDot(ix + 1, iy, period, seed, fx - 1, fy);
  const float n01 = cornerDot(ix, iy + 1, period, seed, fx, fy - 1);
  const float n11 = cornerDot(ix + 1, iy + 1, period, seed, fx - 1, fy - 1);
  const float sx = fade(fx), sy = fade(fy);
  const float a = n00 + (n10 - n00) * sx, b = n01 + (n11 - n01) * sx;
  return (a + (b - a) * sy) * 1.41421356f;
}

float fractalNoise(float u, float v, int basePeriod, int octaves, float gain, uint32_t seed) {
  float sum = 0.0f, weight = 1.0f, total = 0.0f;
  int period = basePeriod;
  for (int o = 0; o < octaves; ++o) {
    sum += weight * gradientNoise(u, v, period, seed + 101u * o);
    total += weight;
    weight *= gain;
    period *= 2;
  }
  return total > 0.0f ? sum / total : 0.0f;
}

float ridgedNoise(float u, float v, int basePeriod, int octaves, uint32_t seed) {
  float sum = 0.0f, weight = 1.0f, total = 0.0f;
  int period = basePeriod;
  for (int o = 0; o < octaves; ++o) {
    const float n = 1.0f - std::fabs(gradientNoise(u, v, period, seed + 131u * o));
    sum += weight * n * n;
    total += weight;
    weight *= 0.5f;
    period *= 2;
  }
  return sum / total;
}

CellDistances cellNoise(float u, float v, int period, uint32_t seed) {
  const float x = u * period, y = v * period;
  const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
  CellDistances out{1e9f, 1e9f, 0u};
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      const int cx = ix + dx, cy = iy + dy;
      const uint32_t h = hashCell(wrap(cx, period), wrap(cy, period), seed);
      const float px = cx + 0.15f + 0.7f * static_cast<float>(h & 0xFFFu) / 4096.0f;
      const float py = cy + 0.15f + 0.7f * static_cast<float>((h >> 12) & 0xFFFu) / 4096.0f;
      const float d = std::hypot(px - x, py - y);
      if (d < out.nearest) {
        out.second = out.nearest;
        out.nearest = d;
        out.cellId = h;
      } else if (d < out.second) {
        out.second = d;
      }
    }
  return out;
}
