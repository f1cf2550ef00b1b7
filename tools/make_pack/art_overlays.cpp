// The window overlays: grey line art on black whose red channel the final pass adds to the
// picture as white light. Everything sits between 12 % and 88 % of the height, inside the
// letterbox bars that the same pass draws over the top and bottom tenth.
#include <cmath>
#include <cstdio>
#include <string>

#include "tools/make_pack/art.h"

namespace {

Rgba grey(float level) { return {level, level, level, 1.0f}; }

// The pixel grid of one overlay: sizes given as fractions of the height keep the layout
// the same at every scale.
struct Hud {
  Canvas canvas;
  float w, h;
  float px(float fx) const { return fx * w; }
  float py(float fy) const { return fy * h; }
  float unit() const { return h / 1080.0f; }  // one pixel of the full-size overlay
};

Hud makeHud(int width, int height) {
  return Hud{makeCanvas(width, height, Rgba{0, 0, 0, 1}), static_cast<float>(width), static_cast<float>(height)};
}

void frameRect(Hud& hud, float x0, float y0, float x1, float y1, float width, Rgba c) {
  drawLine(hud.canvas, x0, y0, x1, y0, width, c);
  drawLine(hud.canvas, x1, y0, x1, y1, width, c);
  drawLine(hud.canvas, x1, y1, x0, y1, width, c);
  drawLine(hud.canvas, x0, y1, x0, y0, width, c);
}

void cornerBrackets(Hud& hud, float x0, float y0, float x1, float y1, float length, float width, Rgba c) {
  const float xs[2] = {x0, x1}, ys[2] = {y0, y1};
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j) {
      const float x = xs[i], y = ys[j], dx = i ? -length : length, dy = j ? -length : length;
      drawLine(hud.canvas, x, y, x + dx, y, width, c);
      drawLine(hud.canvas, x, y, x, y + dy, width, c);
    }
}

// Four arms with a gap around the centre, optionally a ring and a centre dot.
void crosshair(Hud& hud, float cx, float cy, float gap, float arm, float ring, float width, Rgba c) {
  drawLine(hud.canvas, cx - gap - arm, cy, cx - gap, cy, width, c);
  drawLine(hud.canvas, cx + gap, cy, cx + gap + arm, cy, width, c);
  drawLine(hud.canvas, cx, cy - gap - arm, cx, cy - gap, width, c);
  drawLine(hud.canvas, cx, cy + gap, cx, cy + gap + arm, width, c);
  if (ring > 0.0f) drawRing(hud.canvas, cx, cy, ring, width, c);
  fillDisc(hud.canvas, cx, cy, 1.5f * hud.unit(), c);
}

// Ticks along a horizontal (vertical = false) or vertical ruler; every `major`th is longer.
void ruler(Hud& hud, float x, float y, float length, int ticks, int major, float tick, bool vertical, Rgba c) {
  const float width = 1.5f * hud.unit();
  for (int i = 0; i <= ticks; ++i) {
    const float along = length * i / ticks;
    const float t = (i % major == 0) ? tick * 2.0f : tick;
    if (vertical)
      drawLine(hud.canvas, x, y + along, x + t, y + along, width, c);
    else
      drawLine(hud.canvas, x + along, y, x + along, y + t, width, c);
  }
}

void label(Hud& hud, const Font& font, const std::string& text, float cx, float cy, float size, Rgba c) {
  TextStyle style;
  style.pixelHeight = size * hud.unit();
  style.tracking = 0.08f;
  drawCentredText(hud.canvas, font, text, style, cx, cy, c);
}

}  // namespace

// The intro's flight display: frame and brackets, a reticle with pitch ladder, a heading
// tape along the top and speed and altitude scales at the sides.
Image drawBorder1(const ArtContext& art, int level) {
  const float s = levelScale(level);
  if (s <= 0.0f) return {};
  Hud hud = makeHud(scaledSize(1920, s), scaledSize(1080, s));
  const float u = hud.unit();
  frameRect(hud, hud.px(0.03f), hud.py(0.125f), hud.px(0.97f), hud.py(0.875f), 1.5f * u, grey(0.4f));
  cornerBrackets(hud, hud.px(0.03f), hud.py(0.125f), hud.px(0.97f), hud.py(0.875f), 90 * u, 4 * u, grey(1.0f));
  crosshair(hud, hud.px(0.5f), hud.py(0.5f), 22 * u, 40 * u, 0.0f, 2 * u, grey(0.85f));
  drawArc(hud.canvas, hud.px(0.5f), hud.py(0.5f), 48 * u, 2 * u, 0.35f, 2.79f, grey(0.6f));
  drawArc(hud.canvas, hud.px(0.5f), hud.py(0.5f), 48 * u, 2 * u, 3.49f, 5.93f, grey(0.6f));
  for (int k = 1; k <= 3; ++k)
    for (int sign = -1; sign <= 1; sign += 2) {
      const float y = hud.py(0.5f) + sign * k * 0.075f * hud.h;
      drawLine(hud.canvas, hud.px(0.44f), y, hud.px(0.475f), y, 1.5f * u, grey(0.55f));
      drawLine(hud.canvas, hud.px(0.525f), y, hud.px(0.56f), y, 1.5f * u, grey(0.55f));
      label(hud, art.font, std::to_string(k * 10), hud.px(0.425f), y, 18, grey(0.55f));
      label(hud, art.font, std::to_string(k * 10), hud.px(0.575f), y, 18, grey(0.55f));
    }
  ruler(hud, hud.px(0.3f), hud.py(0.15f), hud.px(0.4f), 40, 5, 8 * u, false, grey(0.6f));
  const char* headings[] = {"330", "340", "350", "000", "010", "020", "030", "040", "050"};
  for (int i = 0; i < 9; ++i) label(hud, art.font, headings[i], hud.px(0.3f + 0.05f * i), hud.py(0.195f), 18, grey(0.6f));
  drawLine(hud.canvas, hud.px(0.5f), hud.py(0.14f), hud.px(0.5f), hud.py(0.165f), 3 * u, grey(1.0f));
  ruler(hud, hud.px(0.1f), hud.py(0.3f), hud.py(0.4f), 20, 5, 10 * u, true, grey(0.6f));
  ruler(hud, hud.px(0.9f), hud.py(0.3f), hud.py(0.4f), 20, 5, -10 * u, true, grey(0.6f));
  frameRect(hud, hud.px(0.055f), hud.py(0.475f), hud.px(0.095f), hud.py(0.525f), 1.5f * u, grey(0.8f));
  frameRect(hud, hud.px(0.905f), hud.py(0.475f), hud.px(0.945f), hud.py(0.525f), 1.5f * u, grey(0.8f));
  label(hud, art.font, "240", hud.px(0.075f), hud.py(0.5f), 22, grey(0.9f));
  label(hud, art.font, "0520", hud.px(0.925f), hud.py(0.5f), 22, grey(0.9f));
  label(hud, art.font, "SPD", hud.px(0.075f), hud.py(0.27f), 18, grey(0.6f));
  label(hud, art.font, "ALT", hud.px(0.925f), hud.py(0.27f), 18, grey(0.6f));
  label(hud, art.font, "CAM 01  AUTO", hud.px(0.12f), hud.py(0.84f), 20, grey(0.7f));
  fillDisc(hud.canvas, hud.px(0.82f), hud.py(0.84f), 7 * u, grey(0.9f));
  label(hud, art.font, "REC", hud.px(0.86f), hud.py(0.84f), 20, grey(0.9f));
  return toImage(hud.canvas, 3);
}

// The scanner look of the ray-marched parts: a field of grid points, a rangefinder circle
// with degree ticks, double corner brackets and side brackets.
Image drawBorder2(const ArtContext& art, int level) {
  const float s = levelScale(level);
  if (s <= 0.0f) return {};
  Hud hud = makeHud(scaledSize(1920, s), scaledSize(1080, s));
  const float u = hud.unit();
  for (int gy = 1; gy < 9; ++gy)
    for (int gx = 1; gx < 16; ++gx) {
      const float x = hud.w * gx / 16.0f, y = hud.py(0.12f + 0.76f * gy / 9.0f);
      if (gx % 4 == 0 && gy % 3 == 0) {
        drawLine(hud.canvas, x - 8 * u, y, x + 8 * u, y, 1.5f * u, grey(0.6f));
        drawLine(hud.canvas, x, y - 8 * u, x, y + 8 * u, 1.5f * u, grey(0.6f));
      } else {
        fillDisc(hud.canvas, x, y, 1.6f * u, grey(0.45f));
      }
    }
  const float cx = hud.px(0.5f), cy = hud.py(0.5f), r = hud.py(0.3f);
  drawRing(hud.canvas, cx, cy, r, 1.5f * u, grey(0.5f));
  for (int d = 0; d < 360; d += 10) {
    const float a = d * 3.14159265f / 180.0f, len = (d % 90 == 0) ? 26 * u : 10 * u;
    drawLine(hud.canvas, cx + std::cos(a) * r, cy - std::sin(a) * r, cx + std::cos(a) * (r - len),
             cy - std::sin(a) * (r - len), 1.5f * u, grey(0.7f));
  }
  crosshair(hud, cx, cy, 12 * u, 18 * u, 0.0f, 1.5f * u, grey(0.7f));
  cornerBrackets(hud, hud.px(0.025f), hud.py(0.13f), hud.px(0.975f), hud.py(0.87f), 70 * u, 3 * u, grey(0.9f));
  cornerBrackets(hud, hud.px(0.035f), hud.py(0.148f), hud.px(0.965f), hud.py(0.852f), 40 * u, 1.5f * u, grey(0.5f));
  for (int side = 0; side < 2; ++side) {
    const float x = side ? hud.px(0.8f) : hud.px(0.2f), dx = side ? -14 * u : 14 * u;
    drawLine(hud.canvas, x, cy - 60 * u, x, cy + 60 * u, 2 * u, grey(0.75f));
    drawLine(hud.canvas, x, cy - 60 * u, x + dx, cy - 60 * u, 2 * u, grey(0.75f));
    drawLine(hud.canvas, x, cy + 60 * u, x + dx, cy + 60 * u, 2 * u, grey(0.75f));
  }
  label(hud, art.font, "SCAN", hud.px(0.07f), hud.py(0.18f), 20, grey(0.75f));
  label(hud, art.font, "ZLM-2", hud.px(0.93f), hud.py(0.82f), 20, grey(0.75f));
  return toImage(hud.canvas, 3);
}

// The greetings' broadcast frame: a double frame, corner squares, a scale along the bottom
// edge under the spectrum bars and small marks around a clear centre.
Image drawBorder3(const ArtContext& art, int level) {
  const float s = levelScale(level);
  if (s <= 0.0f) return {};
  Hud hud = makeHud(scaledSize(1920, s), scaledSize(1080, s));
  const float u = hud.unit();
  frameRect(hud, hud.px(0.02f), hud.py(0.125f), hud.px(0.98f), hud.py(0.875f), 2 * u, grey(0.75f));
  frameRect(hud, hud.px(0.02f) + 7 * u, hud.py(0.125f) + 7 * u, hud.px(0.98f) - 7 * u, hud.py(0.875f) - 7 * u, 1 * u,
            grey(0.4f));
  const float xs[2] = {hud.px(0.02f), hud.px(0.98f)}, ys[2] = {hud.py(0.125f), hud.py(0.875f)};
  for (float x : xs)
    for (float y : ys) fillRect(hud.canvas, x - 9 * u, y - 9 * u, x + 9 * u, y + 9 * u, grey(0.9f));
  ruler(hud, hud.px(0.1f), hud.py(0.84f), hud.px(0.8f), 64, 8, 7 * u, false, grey(0.5f));
  const float cx = hud.px(0.5f), cy = hud.py(0.5f);
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j) {
      const float x = cx + (i ? 1 : -1) * hud.px(0.3f), y = cy + (j ? 1 : -1) * hud.py(0.27f);
      drawLine(hud.canvas, x - 12 * u, y, x + 12 * u, y, 1.5f * u, grey(0.7f));
      drawLine(hud.canvas, x, y - 12 * u, x, y + 12 * u, 1.5f * u, grey(0.7f));
    }
  label(hud, art.font, "LIVE", hud.px(0.065f), hud.py(0.17f), 22, grey(0.95f));
  fillDisc(hud.canvas, hud.px(0.04f), hud.py(0.17f), 6 * u, grey(0.95f));
  label(hud, art.font, "SIGNAL 48.0 kHz", hud.px(0.88f), hud.py(0.17f), 18, grey(0.6f));
  return toImage(hud.canvas, 3);
}

// A plain targeting reticle: frame, brackets, concentric circles and a centre cross.
Image drawOverlay(const ArtContext& art, int level) {
  const float s = levelScale(level);
  if (s <= 0.0f) return {};
  Hud hud = makeHud(scaledSize(1280, s), scaledSize(720, s));
  const float u = hud.unit();
  frameRect(hud, hud.px(0.04f), hud.py(0.14f), hud.px(0.96f), hud.py(0.86f), 1.5f * u, grey(0.35f));
  cornerBrackets(hud, hud.px(0.04f), hud.py(0.14f), hud.px(0.96f), hud.py(0.86f), 60 * u, 3 * u, grey(0.85f));
  const float cx = hud.px(0.5f), cy = hud.py(0.5f);
  drawRing(hud.canvas, cx, cy, hud.py(0.08f), 1.5f * u, grey(0.7f));
  drawRing(hud.canvas, cx, cy, hud.py(0.2f), 1.5f * u, grey(0.4f));
  crosshair(hud, cx, cy, hud.py(0.09f), hud.py(0.18f), 0.0f, 1.5f * u, grey(0.6f));
  char text[32];
  std::snprintf(text, sizeof text, "TRK %03d", 117);
  label(hud, art.font, text, hud.px(0.1f), hud.py(0.82f), 22, grey(0.6f));
  return toImage(hud.canvas, 3);
}
