// The two tiling surface textures: the rock-and-dirt ground whose red channel is the
// terrain's height noise, and the colourful panel texture that the metal cubes reflect.
// Both repeat seamlessly: every noise lattice wraps at the image edge.
#include <cmath>
#include <vector>

#include "tools/make_pack/art.h"
#include "tools/make_pack/noise.h"

namespace {

int surfaceSize(int nominal, int level) {
  static const float steps[] = {1.0f, 0.75f, 0.5f};
  return level >= 0 && level < 3 ? static_cast<int>(nominal * steps[level]) : 0;
}

struct Ground {
  float height;     // 0..1, becomes the red channel
  float rockiness;  // 0 dirt .. 1 rock
  float grit;       // -1..1 fine detail for the tint
};

// Broad rolling relief with rock plates (cracked along cell borders) and fine grit.
Ground groundAt(float u, float v) {
  const float relief = fractalNoise(u, v, 4, 7, 0.52f, 11u);
  const float rockiness = smoothstep(-0.05f, 0.3f, fractalNoise(u, v, 3, 4, 0.5f, 23u));
  const CellDistances cells = cellNoise(u, v, 20, 37u);
  const float plate = smoothstep(0.0f, 0.35f, cells.second - cells.nearest);
  const float crack = 1.0f - smoothstep(0.0f, 0.06f, cells.second - cells.nearest);
  const float grit = fractalNoise(u, v, 64, 3, 0.5f, 41u);
  const float pebbles = 1.0f - smoothstep(0.0f, 0.3f, cellNoise(u, v, 96, 53u).nearest);
  float h = 0.5f + 0.85f * relief;
  h += rockiness * (0.07f * plate - 0.1f * crack) + (1.0f - rockiness) * 0.05f * pebbles + 0.05f * grit;
  return {clamp01(h), rockiness, grit};
}

}  // namespace

Image drawDirtRockTerrain(const ArtContext&, int level) {
  const int size = surfaceSize(1024, level);
  if (size <= 0) return {};
  Canvas canvas = makeCanvas(size, size, Rgba{});
  const Rgba dirt{0.52f, 0.37f, 0.25f, 1.0f}, rock{0.56f, 0.54f, 0.5f, 1.0f};
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const Ground g = groundAt((x + 0.5f) / size, (y + 0.5f) / size);
      const Rgba tint = mixColour(dirt, rock, g.rockiness);
      // Red is the height itself; green and blue follow it in the ground's own hue.
      const float shade = 0.94f + 0.06f * g.grit;
      canvas.pixels[static_cast<size_t>(y) * size + x] = {g.height, clamp01(g.height * tint.g / tint.r * shade),
                                                          clamp01(g.height * tint.b / tint.r * shade), 1.0f};
    }
  return toImage(canvas, 3);
}

namespace {

// Glow of the panel seams: a bright core and a soft falloff, in pixels from the nearest seam.
float seamGlow(float distance) { return 0.9f * std::exp(-distance * distance / 1.5f) + 0.35f * std::exp(-distance / 6.0f); }

void drawWrappedSpark(Canvas& canvas, float x, float y, float radius, Rgba colour) {
  for (int oy = -1; oy <= 1; ++oy)
    for (int ox = -1; ox <= 1; ++ox) {
      const float cx = x + ox * canvas.width, cy = y + oy * canvas.height;
      if (cx + 4 * radius < 0 || cy + 4 * radius < 0 || cx - 4 * radius > canvas.width || cy - 4 * radius > canvas.height)
        continue;
      fillDisc(canvas, cx, cy, radius * 3.0f, withAlpha(colour, 0.18f));
      fillDisc(canvas, cx, cy, radius * 1.6f, withAlpha(colour, 0.45f));
      fillDisc(canvas, cx, cy, radius * 0.6f, Rgba{1, 1, 1, 0.95f});
    }
}

}  // namespace

Image drawCubeTexture(const ArtContext&, int level) {
  const int size = surfaceSize(512, level);
  if (size <= 0) return {};
  Canvas canvas = makeCanvas(size, size, Rgba{});
  const int panels = 8;
  const float cell = static_cast<float>(size) / panels;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const float u = (x + 0.5f) / size, v = (y + 0.5f) / size;
      const float flow = fractalNoise(u, v, 2, 5, 0.55f, 71u), swirl = fractalNoise(u, v, 4, 3, 0.5f, 83u);
      Rgba c = cosinePalette(0.6f + 1.5f * flow + 0.3f * swirl, {0.55f, 0.5f, 0.55f, 1}, {0.45f, 0.45f, 0.45f, 1},
                             {1.0f, 1.0f, 1.0f, 1}, {0.0f, 0.33f, 0.67f, 1});
      // Each panel gets its own brightness so the reflections read as tiles of coloured glass.
      const int px = static_cast<int>((x + 0.5f) / cell), py = static_cast<int>((y + 0.5f) / cell);
      const float panel = 0.55f + 0.6f * static_cast<float>(hashCell(px, py, 97u) & 0xFFu) / 255.0f;
      const float fx = std::fmod(x + 0.5f, cell), fy = std::fmod(y + 0.5f, cell);
      const float seam = std::min(std::min(fx, cell - fx), std::min(fy, cell - fy));
      const float glow = seamGlow(seam);
      c = {clamp01(c.r * panel + glow), clamp01(c.g * panel + glow * 0.9f), clamp01(c.b * panel + glow * 0.8f), 1};
      canvas.pixels[static_cast<size_t>(y) * size + x] = c;
    }
  Prng rng{2024u};
  for (int i = 0; i < 70; ++i) {
    const float x = rng.next() * size, y = rng.next() * size, r = rng.range(1.0f, 3.5f) * size / 512.0f;
    drawWrappedSpark(canvas, x, y, r, cosinePalette(rng.next(), {0.7f, 0.7f, 0.7f, 1}, {0.3f, 0.3f, 0.3f, 1},
                                                    {1, 1, 1, 1}, {0.0f, 0.33f, 0.67f, 1}));
  }
  return toImage(canvas, 3);
}
