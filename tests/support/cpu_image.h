// CPU pictures for checking pass arithmetic: an RGBA float image with clamp-to-edge texel
// reads, the GLSL scalar helpers the checks need, and a deterministic pattern source.
// Does NOT touch GL.
#pragma once
#include <array>
#include <functional>
#include <vector>

using Rgba = std::array<float, 4>;

struct CpuImage {
  int width = 0;
  int height = 0;
  std::vector<float> rgba;  // rows bottom first, 4 floats per pixel, like a GL read-back

  Rgba texel(int x, int y) const;  // clamped to the edge
  void set(int x, int y, const Rgba& value);
};

CpuImage makeImage(int width, int height, const std::function<Rgba(int x, int y)>& pixel);
// Wraps a read-back of the same size.
CpuImage imageFrom(int width, int height, std::vector<float> rgba);

// GLSL's clamp and mix on floats.
float clamp01(float x);
float mixf(float a, float b, float t);

// A repeatable value in [0, 1) for pixel (x, y), channel c and a seed.
float patternValue(int x, int y, int c, int seed);
