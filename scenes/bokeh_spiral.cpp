// The bokeh spiral's taps in texels, and whether they stay by their pixel.
#include "scenes/bokeh_spiral.h"

#include <cmath>
#include <vector>

namespace {

struct TexelOffset {
  double x = 0.0;
  double y = 0.0;
};

// The spiral as the pass walks it, in texels of a width x height target.
std::vector<TexelOffset> spiralOffsets(float radius, int width, int height) {
  const double turn = 2.39996;
  const double c = std::cos(turn), s = std::sin(turn);
  double vx = 0.0, vy = 3.0 * radius * 0.01 / std::sqrt(double(bokehTaps));
  double r = 1.0;
  std::vector<TexelOffset> offsets;
  for (int i = 0; i < bokehTaps; ++i) {
    r += 1.0 / r;
    const double x = c * vx - s * vy, y = s * vx + c * vy;
    vx = x;
    vy = y;
    offsets.push_back({(r - 1.0) * vx * width, (r - 1.0) * vy * height});
  }
  return offsets;
}

}  // namespace

NearBokehSpiral nearBokehSpiral(float radius, int width, int height) {
  NearBokehSpiral spiral;
  // The pass's written-out spiral takes each tap's side from the spiral of radius 1.
  if (radius < 0.0f) return spiral;
  // A margin below one texel keeps single-precision rounding of the pass's own coordinates from
  // reaching a texel the nine do not hold.
  for (const TexelOffset& o : spiralOffsets(radius, width, height))
    if (std::abs(o.x) > 0.999 || std::abs(o.y) > 0.999) return spiral;
  spiral.fits = true;
  return spiral;
}
