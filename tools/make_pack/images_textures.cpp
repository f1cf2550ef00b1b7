// The textures: rock and dirt terrain noise, the colourful cube texture, the bubble sprite
// and the plain blank image.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/make_pack/images.h"
#include "tools/make_pack/noise.h"

namespace {

int scaled(int size, float f) { return std::max(4, static_cast<int>(size * f)); }

}  // namespace

// Red carries the height noise the terrain reads at four scales; green and blue tint it
// toward dry dirt in the low places and grey rock on the ridges.
Canvas drawTerrainTexture(float f) {
  const int size = scaled(512, f);
  Canvas canvas = makeCanvas(size, size, 3, {});
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
      const float height = tileFbm(u, v, 4, 7, 11);
      const float ridge = 1.0f - std::fabs(tileFbm(u, v, 8, 4, 23) * 2.0f - 1.0f);
      const float grit = latticeHash(x, y, 5) * 0.08f;
      const float rock = std::clamp((height - 0.5f) * 1.7f + 0.45f + ridge * 0.25f, 0.0f, 1.0f);
      const float dirt = tileFbm(u, v, 16, 3, 41);
      setPixel(canvas, x, y, {rock + grit, rock * (0.78f + 0.1f * dirt) + grit, rock * (0.62f + 0.2f * dirt) + grit});
    }
  return canvas;
}

// Interfering colour bands on whole periods, so the texture tiles, with a fine grid of panels.
Canvas drawCubeTexture(float f) {
  const int size = scaled(256, f);
  Canvas canvas = makeCanvas(size, size, 3, {});
  constexpr float tau = 2.0f * std::numbers::pi_v<float>;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
      const float p = std::sin(tau * 2 * u) + std::sin(tau * 3 * v) + std::sin(tau * (u + 2 * v)) +
                      std::sin(tau * 4 * (u - v)) * 0.5f;
      const bool seam = (x % (size / 8)) < 2 || (y % (size / 8)) < 2;
      const float glow = seam ? 0.35f : 1.0f;
      setPixel(canvas, x, y,
               {glow * (0.5f + 0.5f * std::sin(p * 1.7f)), glow * (0.5f + 0.5f * std::sin(p * 1.7f + 2.1f)),
                glow * (0.5f + 0.5f * std::sin(p * 1.7f + 4.2f))});
    }
  return canvas;
}

// A thin bright rim, a faint tinted body and a highlight at the upper left.
Canvas drawBubble(float f) {
  const int size = scaled(128, f);
  Canvas canvas = makeCanvas(size, size, 4, {1, 1, 1, 0});
  const float centre = size * 0.5f, radius = size * 0.44f;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const float d = std::hypot(x + 0.5f - centre, y + 0.5f - centre) / radius;
      if (d > 1.02f) continue;
      const float rim = std::exp(-std::pow((d - 0.95f) * 14.0f, 2.0f));
      const float body = 0.12f * d * d;
      const float hx = (x + 0.5f - centre * 0.7f) / radius, hy = (y + 0.5f - centre * 0.7f) / radius;
      const float highlight = std::exp(-(hx * hx + hy * hy) * 30.0f);
      const float edge = std::clamp((1.02f - d) * 40.0f, 0.0f, 1.0f);
      const float alpha = std::clamp(rim * 0.8f + body + highlight, 0.0f, 1.0f) * edge;
      setPixel(canvas, x, y, {0.75f + 0.25f * highlight, 0.9f, 1.0f, alpha});
    }
  return canvas;
}

// Placeholder slots sample this: plain black, so nothing shows through them.
Canvas drawBlank(float) { return makeCanvas(4, 4, 3, {0, 0, 0, 1}); }
