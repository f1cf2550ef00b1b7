// The bubble sprite and the plain blank image.
#include <cmath>

#include "tools/make_pack/art.h"

namespace {

// A thin film: nearly clear in the middle, denser toward the rim, with a faint rainbow
// sheen that swirls with the angle. Quantised a little: the sheen's finest steps are
// invisible once squared by the sprite shader, and they cost most of the file.
Rgba bubbleFilm(float rn, float angle) {
  const float rim = std::pow(smoothstep(0.45f, 1.0f, rn), 2.0f);
  Rgba sheen = cosinePalette(0.8f * rn + 0.12f * std::sin(2.0f * angle), {0.75f, 0.75f, 0.8f, 1},
                             {0.25f, 0.25f, 0.2f, 1}, {1, 1, 1, 1}, {0.0f, 0.33f, 0.67f, 1});
  sheen.a = 0.1f + 0.75f * rim;
  return sheen;
}

float gaussian(float dx, float dy, float sigma) { return std::exp(-(dx * dx + dy * dy) / (2.0f * sigma * sigma)); }

float quantise(float v, float steps) { return std::round(v * steps) / steps; }

}  // namespace

Image drawBubble(const ArtContext&, int level) {
  const float s = levelScale(level);
  if (s <= 0.0f) return {};
  const int size = scaledSize(192, s);
  const Rgba outside{0.85f, 0.9f, 1.0f, 0.0f};
  Canvas canvas = makeCanvas(size, size, outside);
  const float c = size * 0.5f, radius = size * 0.46f;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const float dx = (x + 0.5f - c) / radius, dy = (y + 0.5f - c) / radius;
      const float rn = std::hypot(dx, dy);
      const float edge = clamp01((1.0f - rn) * radius + 0.5f);
      if (edge <= 0.0f) continue;
      Rgba film = bubbleFilm(rn, std::atan2(dy, dx));
      // Window highlight up left, a smaller bounce light down right.
      const float key = gaussian(dx + 0.38f, dy + 0.4f, 0.13f), bounce = 0.5f * gaussian(dx - 0.5f, dy - 0.45f, 0.07f);
      const float light = clamp01(key + bounce);
      film = mixColour(film, Rgba{1, 1, 1, 1}, light);
      film.a = std::max(film.a, 0.95f * light) * edge;
      canvas.pixels[static_cast<size_t>(y) * size + x] = {quantise(film.r, 24), quantise(film.g, 24),
                                                          quantise(film.b, 24), quantise(film.a, 48)};
    }
  return toImage(canvas, 4);
}

// A small opaque white square: neutral wherever it is sampled.
Image drawBlank(const ArtContext&, int level) {
  if (level > 0) return {};
  return toImage(makeCanvas(16, 16, Rgba{1, 1, 1, 1}), 3);
}
