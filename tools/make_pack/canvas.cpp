// Canvas blending and the anti-aliased shapes: coverage comes from the distance of each pixel
// centre to the shape's edge, one pixel of soft edge.
#include "tools/make_pack/canvas.h"

#include <algorithm>
#include <cmath>

Canvas makeCanvas(int width, int height, Rgba fill) {
  Canvas canvas;
  // The engine uploads with GL's default 4-byte row alignment, so widths stay multiples of 4
  // and RGB rows need no padding.
  canvas.width = std::max(4, (width + 2) / 4 * 4);
  canvas.height = std::max(height, 1);
  canvas.pixels.assign(static_cast<size_t>(canvas.width) * canvas.height, fill);
  return canvas;
}

float clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

float smoothstep(float edge0, float edge1, float x) {
  const float t = clamp01((x - edge0) / (edge1 - edge0));
  return t * t * (3.0f - 2.0f * t);
}

static uint8_t toByte(float v) { return static_cast<uint8_t>(std::lround(clamp01(v) * 255.0f)); }

Image toImage(const Canvas& canvas, int channels) {
  Image image{canvas.width, canvas.height, channels == 4 ? 4 : 3, {}};
  image.pixels.reserve(canvas.pixels.size() * image.channels);
  for (const Rgba& p : canvas.pixels) {
    image.pixels.push_back(toByte(p.r));
    image.pixels.push_back(toByte(p.g));
    image.pixels.push_back(toByte(p.b));
    if (image.channels == 4) image.pixels.push_back(toByte(p.a));
  }
  return image;
}

Rgba mixColour(Rgba a, Rgba b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Rgba withAlpha(Rgba c, float alpha) { return {c.r, c.g, c.b, alpha}; }

void blendPixel(Canvas& canvas, int x, int y, Rgba colour, float coverage) {
  if (x < 0 || y < 0 || x >= canvas.width || y >= canvas.height) return;
  const float sa = clamp01(coverage * colour.a);
  if (sa <= 0.0f) return;
  Rgba& d = canvas.pixels[static_cast<size_t>(y) * canvas.width + x];
  const float da = d.a * (1.0f - sa);
  const float oa = sa + da;
  if (oa <= 0.0f) return;
  d.r = (colour.r * sa + d.r * da) / oa;
  d.g = (colour.g * sa + d.g * da) / oa;
  d.b = (colour.b * sa + d.b * da) / oa;
  d.a = oa;
}

void addPixel(Canvas& canvas, int x, int y, Rgba colour, float coverage) {
  if (x < 0 || y < 0 || x >= canvas.width || y >= canvas.height || coverage <= 0.0f) return;
  Rgba& d = canvas.pixels[static_cast<size_t>(y) * canvas.width + x];
  d.r = clamp01(d.r + colour.r * coverage);
  d.g = clamp01(d.g + colour.g * coverage);
  d.b = clamp01(d.b + colour.b * coverage);
  d.a = clamp01(d.a + coverage * colour.a);
}

namespace {

struct Box {
  int x0, y0, x1, y1;
};

Box clipBox(const Canvas& c, float x0, float y0, float x1, float y1) {
  return {std::max(0, static_cast<int>(std::floor(x0))), std::max(0, static_cast<int>(std::floor(y0))),
          std::min(c.width - 1, static_cast<int>(std::ceil(x1))), std::min(c.height - 1, static_cast<int>(std::ceil(y1)))};
}

// Coverage of a pixel whose centre lies `d` pixels inside (positive) or outside an edge.
float edgeCoverage(float d) { return clamp01(d + 0.5f); }

template <typename Dist>
void paint(Canvas& canvas, Box box, Rgba colour, Dist insideDistance) {
  for (int y = box.y0; y <= box.y1; ++y)
    for (int x = box.x0; x <= box.x1; ++x) {
      const float cover = edgeCoverage(insideDistance(x + 0.5f, y + 0.5f));
      if (cover > 0.0f) blendPixel(canvas, x, y, colour, cover);
    }
}

float segmentDistance(float px, float py, float x0, float y0, float x1, float y1) {
  const float dx = x1 - x0, dy = y1 - y0;
  const float len2 = dx * dx + dy * dy;
  float t = len2 > 0.0f ? ((px - x0) * dx + (py - y0) * dy) / len2 : 0.0f;
  t = std::clamp(t, 0.0f, 1.0f);
  return std::hypot(px - (x0 + t * dx), py - (y0 + t * dy));
}

}  // namespace

void fillRect(Canvas& canvas, float x0, float y0, float x1, float y1, Rgba colour) {
  const Box box = clipBox(canvas, x0 - 1, y0 - 1, x1 + 1, y1 + 1);
  paint(canvas, box, colour, [&](float px, float py) {
    return std::min(std::min(px - x0, x1 - px), std::min(py - y0, y1 - py));
  });
}

void drawLine(Canvas& canvas, float x0, float y0, float x1, float y1, float width, Rgba colour) {
  const float h = width * 0.5f;
  const Box box = clipBox(canvas, std::min(x0, x1) - h - 1, std::min(y0, y1) - h - 1, std::max(x0, x1) + h + 1,
                          std::max(y0, y1) + h + 1);
  // Thin strokes keep their brightness as coverage rather than vanishing between pixel centres.
  const float thin = std::min(width, 1.0f);
  paint(canvas, box, withAlpha(colour, colour.a * thin), [&](float px, float py) {
    return std::max(h, 0.5f) - segmentDistance(px, py, x0, y0, x1, y1);
  });
}

void drawRing(Canvas& canvas, float cx, float cy, float radius, float width, Rgba colour) {
  drawArc(canvas, cx, cy, radius, width, 0.0f, 6.2831853f, colour);
}

void fillDisc(Canvas& canvas, float cx, float cy, float radius, Rgba colour) {
  const Box box = clipBox(canvas, cx - radius - 1, cy - radius - 1, cx + radius + 1, cy + radius + 1);
  paint(canvas, box, colour, [&](float px, float py) { return radius - std::hypot(px - cx, py - cy); });
}

void drawArc(Canvas& canvas, float cx, float cy, float radius, float width, float a0, float a1, Rgba colour) {
  const float h = std::max(width * 0.5f, 0.5f);
  const float thin = std::min(width, 1.0f);
  const Box box = clipBox(canvas, cx - radius - h - 1, cy - radius - h - 1, cx + radius + h + 1, cy + radius + h + 1);
  paint(canvas, box, withAlpha(colour, colour.a * thin), [&](float px, float py) {
    float angle = std::atan2(cy - py, px - cx);
    if (angle < 0.0f) angle += 6.2831853f;
    const bool within = (angle >= a0 && angle <= a1) || (angle + 6.2831853f >= a0 && angle + 6.2831853f <= a1);
    if (!within) return -1.0f;
    return h - std::fabs(std::hypot(px - cx, py - cy) - radius);
  });
}
