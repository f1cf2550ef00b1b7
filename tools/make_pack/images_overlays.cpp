// The window overlays: thin lines and marks on black whose red channel the composites add as
// white light over the picture. Each has its own arrangement of frame, brackets and HUD marks.
#include <algorithm>
#include <cmath>

#include "tools/make_pack/images.h"

namespace {

constexpr Colour dimLine{0.45f, 0.45f, 0.45f, 1};
constexpr Colour brightLine{0.8f, 0.8f, 0.8f, 1};

struct Frame {
  int w, h;
  int px(float fx) const { return static_cast<int>(fx * w); }
  int py(float fy) const { return static_cast<int>(fy * h); }
};

Canvas blackCanvas(float f, Frame& frame) {
  frame = {std::max(64, static_cast<int>(1024 * f)), std::max(36, static_cast<int>(576 * f))};
  return makeCanvas(frame.w, frame.h, 3, {0, 0, 0, 1});
}

// Short ticks along a horizontal line, every `step` pixels, longer every fifth.
void tickRow(Canvas& c, int x0, int x1, int y, int step, int length, Colour colour) {
  for (int x = x0, i = 0; x <= x1; x += step, ++i) fillRect(c, x, y, x + 1, y + (i % 5 == 0 ? 2 * length : length), colour);
}

void tickColumn(Canvas& c, int y0, int y1, int x, int step, int length, Colour colour) {
  for (int y = y0, i = 0; y <= y1; y += step, ++i) fillRect(c, x, y, x + (i % 5 == 0 ? 2 * length : length), y + 1, colour);
}

void crosshair(Canvas& c, const Frame& f, float radius, Colour colour) {
  const int cx = f.px(0.5f), cy = f.py(0.5f), r = static_cast<int>(radius);
  strokeCircle(c, cx, cy, radius, 1.2f, colour);
  fillRect(c, cx - 2 * r, cy, cx - r / 2, cy + 1, colour);
  fillRect(c, cx + r / 2, cy, cx + 2 * r, cy + 1, colour);
  fillRect(c, cx, cy - 2 * r, cx + 1, cy - r / 2, colour);
  fillRect(c, cx, cy + r / 2, cx + 1, cy + 2 * r, colour);
}

}  // namespace

// A thin inner frame, corner brackets and a centre crosshair.
Canvas drawOverlay(float scale) {
  Frame f{};
  Canvas c = blackCanvas(scale, f);
  strokeRect(c, f.px(0.04f), f.py(0.14f), f.px(0.96f), f.py(0.86f), 1, dimLine);
  cornerBrackets(c, f.px(0.06f), f.py(0.17f), f.px(0.94f), f.py(0.83f), f.px(0.05f), 2, brightLine);
  crosshair(c, f, f.h * 0.06f, brightLine);
  return c;
}

// Brackets with scales along the top and the left edge.
Canvas drawBorder1(float scale) {
  Frame f{};
  Canvas c = blackCanvas(scale, f);
  cornerBrackets(c, f.px(0.05f), f.py(0.15f), f.px(0.95f), f.py(0.85f), f.px(0.07f), 2, brightLine);
  tickRow(c, f.px(0.2f), f.px(0.8f), f.py(0.16f), std::max(2, f.px(0.012f)), std::max(2, f.py(0.01f)), dimLine);
  tickColumn(c, f.py(0.3f), f.py(0.7f), f.px(0.06f), std::max(2, f.py(0.02f)), std::max(2, f.px(0.006f)), dimLine);
  fillRect(c, f.px(0.8f), f.py(0.78f), f.px(0.92f), f.py(0.78f) + 1, dimLine);
  fillRect(c, f.px(0.8f), f.py(0.8f), f.px(0.88f), f.py(0.8f) + 1, dimLine);
  return c;
}

// Range rings around the centre with a broken frame, like a sonar screen.
Canvas drawBorder2(float scale) {
  Frame f{};
  Canvas c = blackCanvas(scale, f);
  for (int ring = 1; ring <= 3; ++ring) strokeCircle(c, f.px(0.5f), f.py(0.5f), f.h * 0.1f * ring, 1.0f, dimLine);
  crosshair(c, f, f.h * 0.04f, brightLine);
  fillRect(c, f.px(0.04f), f.py(0.15f), f.px(0.3f), f.py(0.15f) + 1, brightLine);
  fillRect(c, f.px(0.7f), f.py(0.85f) - 1, f.px(0.96f), f.py(0.85f), brightLine);
  fillRect(c, f.px(0.04f), f.py(0.15f), f.px(0.04f) + 1, f.py(0.35f), brightLine);
  fillRect(c, f.px(0.96f) - 1, f.py(0.65f), f.px(0.96f), f.py(0.85f), brightLine);
  return c;
}

// A dotted grid between corner brackets, and a small target box off centre.
Canvas drawBorder3(float scale) {
  Frame f{};
  Canvas c = blackCanvas(scale, f);
  cornerBrackets(c, f.px(0.05f), f.py(0.15f), f.px(0.95f), f.py(0.85f), f.px(0.04f), 1, brightLine);
  for (int gy = 1; gy < 6; ++gy)
    for (int gx = 1; gx < 10; ++gx) fillRect(c, f.px(0.1f * gx), f.py(0.15f + 0.117f * gy), f.px(0.1f * gx) + 2,
                                             f.py(0.15f + 0.117f * gy) + 2, dimLine);
  strokeRect(c, f.px(0.62f), f.py(0.3f), f.px(0.7f), f.py(0.44f), 1, brightLine);
  return c;
}
