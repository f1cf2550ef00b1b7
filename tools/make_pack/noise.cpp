// Hashed, wrapped value noise and its octave sum.
#include "tools/make_pack/noise.h"

#include <cmath>
#include <cstdint>

float latticeHash(int x, int y, int seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               static_cast<uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

float tileNoise(float x, float y, int period, int seed) {
  const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  const float fx = x - x0, fy = y - y0;
  const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  const auto at = [&](int dx, int dy) {
    const int px = ((x0 + dx) % period + period) % period, py = ((y0 + dy) % period + period) % period;
    return latticeHash(px, py, seed);
  };
  const float top = at(0, 0) + (at(1, 0) - at(0, 0)) * sx;
  const float bottom = at(0, 1) + (at(1, 1) - at(0, 1)) * sx;
  return top + (bottom - top) * sy;
}

float tileFbm(float u, float v, int basePeriod, int octaves, int seed) {
  float sum = 0, weight = 0, amplitude = 1;
  int period = basePeriod;
  for (int i = 0; i < octaves; ++i) {
    sum += amplitude * tileNoise(u * period, v * period, period, seed + i * 17);
    weight += amplitude;
    amplitude *= 0.5f;
    period *= 2;
  }
  return sum / weight;
}
