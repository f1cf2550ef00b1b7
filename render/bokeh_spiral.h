// The bokeh pass's tap spiral worked out on the CPU, for spirals that stay within one texel of
// their pixel (the intro's radius between its pulses). Every tap's offset is the same for every
// pixel, and so are its bilinear weights; when no tap leaves the pixel's 3 x 3 texels, the pass
// fetches those nine once and blends each tap from them instead of filtering 150 reads.
// Owns: the spiral (150 taps on a golden-angle spiral: r starts at 1 and gains 1/r per tap, the
// step vector of length 0.03 radius / sqrt(150) turns 2.39996 rad counter-clockwise per tap) and
// the taps' grouping by the quadrant they fall in. Does NOT touch GL: the intro uploads it.
#pragma once
#include <array>
#include <vector>

inline constexpr int bokehTaps = 150;

struct NearBokehSpiral {
  bool fits = false;             // every tap lies less than one texel from its pixel
  std::array<int, 4> counts{};   // taps per quadrant: -x -y, +x -y, -x +y, +x +y
  std::vector<float> fractions;  // |offset| in texels (x, y) per tap, quadrant after quadrant
};

// The spiral of `radius` on a width x height target.
NearBokehSpiral nearBokehSpiral(float radius, int width, int height);
