// The bokeh pass's tap spiral worked out on the CPU, to tell whether it stays within one texel
// of its pixel (the intro's radius between its pulses). Such a spiral's taps are bilinear blends
// of the pixel's 3 x 3 texels, and the pass then fetches those nine once and blends each tap
// from them (its spiral written out, so the blend weights are constants times the radius)
// instead of filtering 150 reads.
// Owns: the spiral (150 taps on a golden-angle spiral: r starts at 1 and gains 1/r per tap, the
// step vector of length 0.03 radius / sqrt(150) turns 2.39996 rad counter-clockwise per tap).
// Does NOT touch GL: the intro sets the pass's switch.
#pragma once

inline constexpr int bokehTaps = 150;

struct NearBokehSpiral {
  bool fits = false;  // the radius is not negative and every tap lies within a texel of its pixel
};

// The spiral of `radius` on a width x height target.
NearBokehSpiral nearBokehSpiral(float radius, int width, int height);
