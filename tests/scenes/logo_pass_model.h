// CPU arithmetic of the logo part's scene pass (line field, logo image, dust layers), pixel by
// pixel, for GL tests to compare the shader against. The dust hash amplifies rounding (a sine
// times 1000), so pixels whose hash row or layer cut-off sits on a boundary are marked fragile.
// Does NOT touch GL.
#pragma once
#include <algorithm>
#include <cmath>

#include "tests/render/composite_model.h"

namespace logo_model {

using composite_model::Expected;
using composite_model::Image;
using composite_model::Rgb;

struct V3 {
  double x = 0, y = 0, z = 0;
};
inline V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline V3 operator*(V3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline double dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline double length(V3 a) { return std::sqrt(dot(a, a)); }
inline V3 normalize(V3 a) { return a * (1.0 / length(a)); }
inline V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

constexpr double logoPi = 3.1415692;  // the pass's own constant, short of pi on purpose

struct LogoInputs {
  double partTime = 0.0;
  double numLines = 0.0;
  double alpha = 1.0;
  Image logo;  // at target size, sampled at pixel centres
};

inline double lineField(double px, double py, const LogoInputs& in) {
  double light = 0.0;
  for (double x = 0.0; x < in.numLines; x += 1.0) {
    const double s = std::sin(std::sin(in.partTime + px * x) - py * ((x + py) * std::sin(x) + (x + py) * std::cos(x)));
    const double toCurve = std::hypot(px - s, py - s);
    const double c = std::cos(in.partTime + py);
    light -= 0.04 / toCurve - 0.01 * std::hypot(c - px, c - py);
  }
  return light;
}

inline double dots(V3 v, double j, bool& fragile) {
  v = v * (4.0 + std::sin(j));
  const double row = std::floor(v.y);
  fragile = fragile || v.y - row < 2e-3 || row + 1.0 - v.y < 2e-3;
  v.x += std::sin(row) * 1000.0 - std::floor(std::sin(row) * 1000.0);
  v = v * logoPi;
  return std::clamp(0.1 - std::hypot(std::sin(v.x), std::cos(v.y)), 0.0, 1.0) * 10.3;
}

inline V3 tunnel(double z) { return {1.5 * std::sin(0.2 * z), 1.3 * std::sin(0.3 * z), 0.0}; }

inline double dust(double u, double v, double partTime, bool& fragile) {
  const double t2 = 0.5 * partTime;
  V3 s{0.5 * std::sin(0.7 * t2), 0.5 * std::sin(0.9 * t2), -3.0 + t2};
  V3 t{0.0, 0.0, t2};
  const V3 q = s;
  s = s - tunnel(s.z);
  t = t - tunnel(t.z);
  const V3 cz = normalize(t - s);
  const V3 cx = normalize(cross(cz, {0.0, 1.0, 0.0}));
  const V3 cy = normalize(cross(cz, cx));
  const V3 r = normalize(cx * u + cy * v + cz * 0.7);
  const V3 l = normalize({-0.2, 0.2, 0.5});
  const double back = 0.15 + (0.2 - 0.15) * std::pow(std::max(0.0, dot(r, l)), 5.0);
  const double len = length(q - s);
  double sum = 0.0;
  for (int j = 1; j <= 14; ++j) {
    const double d = j * 0.2 / r.z;
    fragile = fragile || std::fabs(d - len) < 1e-4;
    if (d > len) break;
    V3 p = V3{s.x, s.y, 0.0} + r * d;
    const double a = std::sin(10.0 * p.z + 0.2 * partTime);
    p = {p.x * std::cos(a) + p.y * std::sin(a), -p.x * std::sin(a) + p.y * std::cos(a), p.z};
    sum += dots(p, j, fragile) * std::clamp(1.0 - d / 15.0, 0.0, 1.0);
  }
  return sum * back;
}

// The pass at fragment position (fx, fy) over logo texel (x, y).
inline Expected logoPixelAt(const LogoInputs& in, double fx, double fy, int x, int y) {
  const double w = in.logo.width, h = in.logo.height;
  const double px = (fx * 2.0 - w) / std::min(w, h), py = (fy * 2.0 - h) / std::min(w, h);
  Expected out;
  const double c = lineField(px, py, in) * (0.5 + 0.3 * std::sin(py * in.partTime * 0.625));
  const double keep = std::clamp(in.alpha, 0.0, 1.0);
  const double extra = c + dust(fx / w, fy / h, in.partTime, out.fragile);
  const Rgb base = in.logo.rgb(x, y);
  out.colour = {static_cast<float>(std::clamp(base.r * keep + extra, 0.0, 1.0)),
                static_cast<float>(std::clamp(base.g * keep + extra, 0.0, 1.0)),
                static_cast<float>(std::clamp(base.b * keep + extra, 0.0, 1.0))};
  return out;
}

// The pass at the centre of pixel (x, y). A pixel whose value moves by more than `steady`
// when the position shifts by a thousandth of a pixel is fragile: there the float rounding of
// the driver decides, not the arithmetic.
inline Expected logoPixel(const LogoInputs& in, int x, int y, float steady = 0.004f) {
  Expected out = logoPixelAt(in, x + 0.5, y + 0.5, x, y);
  for (double dx : {-1e-3, 1e-3})
    for (double dy : {-1e-3, 1e-3}) {
      const Expected shifted = logoPixelAt(in, x + 0.5 + dx, y + 0.5 + dy, x, y);
      out.fragile = out.fragile || shifted.fragile ||
                    std::fabs(shifted.colour.r - out.colour.r) > steady;
    }
  return out;
}

}  // namespace logo_model
