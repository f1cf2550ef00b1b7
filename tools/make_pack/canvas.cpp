// Drawing primitives on byte canvases.
#include "tools/make_pack/canvas.h"

#include <algorithm>
#include <cmath>

namespace {

uint8_t toByte(float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }

}  // namespace

Canvas makeCanvas(int requestedWidth, int height, int channels, Colour fill) {
  // The engine uploads with GL's default 4-byte row alignment, so widths stay multiples of 4.
  const int width = std::max(4, requestedWidth / 4 * 4);
  Canvas canvas{width, height, channels, std::vector<uint8_t>(static_cast<size_t>(width) * height * channels)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) setPixel(canvas, x, y, fill);
  return canvas;
}

void setPixel(Canvas& canvas, int x, int y, Colour c) {
  if (x < 0 || y < 0 || x >= canvas.width || y >= canvas.height) return;
  uint8_t* p = &canvas.bytes[(static_cast<size_t>(y) * canvas.width + x) * canvas.channels];
  p[0] = toByte(c.r);
  p[1] = toByte(c.g);
  p[2] = toByte(c.b);
  if (canvas.channels == 4) p[3] = toByte(c.a);
}

void blendPixel(Canvas& canvas, int x, int y, Colour c, float coverage) {
  if (x < 0 || y < 0 || x >= canvas.width || y >= canvas.height) return;
  uint8_t* p = &canvas.bytes[(static_cast<size_t>(y) * canvas.width + x) * canvas.channels];
  const float a = std::clamp(c.a * coverage, 0.0f, 1.0f);
  const float below = canvas.channels == 4 ? p[3] / 255.0f : 1.0f;
  const float out = a + below * (1.0f - a);
  const auto mixChannel = [&](uint8_t dst, float src) {
    return out <= 0.0f ? 0.0f : (src * a + dst / 255.0f * below * (1.0f - a)) / out;
  };
  Colour result{mixChannel(p[0], c.r), mixChannel(p[1], c.g), mixChannel(p[2], c.b), out};
  setPixel(canvas, x, y, result);
}

void fillRect(Canvas& canvas, int x0, int y0, int x1, int y1, Colour c) {
  for (int y = std::max(y0, 0); y < std::min(y1, canvas.height); ++y)
    for (int x = std::max(x0, 0); x < std::min(x1, canvas.width); ++x) blendPixel(canvas, x, y, c);
}

void strokeRect(Canvas& canvas, int x0, int y0, int x1, int y1, int thickness, Colour c) {
  fillRect(canvas, x0, y0, x1, y0 + thickness, c);
  fillRect(canvas, x0, y1 - thickness, x1, y1, c);
  fillRect(canvas, x0, y0 + thickness, x0 + thickness, y1 - thickness, c);
  fillRect(canvas, x1 - thickness, y0 + thickness, x1, y1 - thickness, c);
}

void strokeCircle(Canvas& canvas, float cx, float cy, float r, float width, Colour c) {
  const int reach = static_cast<int>(r + width + 2);
  for (int y = static_cast<int>(cy) - reach; y <= static_cast<int>(cy) + reach; ++y)
    for (int x = static_cast<int>(cx) - reach; x <= static_cast<int>(cx) + reach; ++x) {
      const float d = std::fabs(std::hypot(x + 0.5f - cx, y + 0.5f - cy) - r);
      const float coverage = std::clamp(width * 0.5f + 0.5f - d, 0.0f, 1.0f);
      if (coverage > 0.0f) blendPixel(canvas, x, y, c, coverage);
    }
}

void cornerBrackets(Canvas& canvas, int x0, int y0, int x1, int y1, int arm, int thickness, Colour c) {
  fillRect(canvas, x0, y0, x0 + arm, y0 + thickness, c);
  fillRect(canvas, x0, y0, x0 + thickness, y0 + arm, c);
  fillRect(canvas, x1 - arm, y0, x1, y0 + thickness, c);
  fillRect(canvas, x1 - thickness, y0, x1, y0 + arm, c);
  fillRect(canvas, x0, y1 - thickness, x0 + arm, y1, c);
  fillRect(canvas, x0, y1 - arm, x0 + thickness, y1, c);
  fillRect(canvas, x1 - arm, y1 - thickness, x1, y1, c);
  fillRect(canvas, x1 - thickness, y1 - arm, x1, y1, c);
}
