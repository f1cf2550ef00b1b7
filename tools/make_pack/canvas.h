// Drawing surface of the pack generator: a float RGBA canvas with anti-aliased shapes and
// straight-alpha "over" blending, and its conversion to 8-bit RGB or RGBA images.
// Does NOT encode files (encode.h) or render text (text.h).
#pragma once
#include <cstdint>
#include <vector>

struct Rgba {
  float r = 0.0f, g = 0.0f, b = 0.0f, a = 1.0f;
};

// Rows run top to bottom, as an image file stores them.
struct Canvas {
  int width = 0;
  int height = 0;
  std::vector<Rgba> pixels;
};

struct Image {
  int width = 0;
  int height = 0;
  int channels = 0;  // 3 or 4
  std::vector<uint8_t> pixels;
};

// The width is rounded to the nearest multiple of 4.
Canvas makeCanvas(int width, int height, Rgba fill);
Image toImage(const Canvas& canvas, int channels);

Rgba mixColour(Rgba a, Rgba b, float t);
Rgba withAlpha(Rgba c, float alpha);
float clamp01(float v);
float smoothstep(float edge0, float edge1, float x);

// Blends `colour` over the pixel with weight coverage × colour.a; outside pixels are ignored.
void blendPixel(Canvas& canvas, int x, int y, Rgba colour, float coverage);
// Adds light: rgb grows by colour.rgb × coverage, alpha by coverage (both clamped).
void addPixel(Canvas& canvas, int x, int y, Rgba colour, float coverage);

// Shapes in pixel units (pixel centres at +0.5); `width` is the full stroke width.
void fillRect(Canvas& canvas, float x0, float y0, float x1, float y1, Rgba colour);
void drawLine(Canvas& canvas, float x0, float y0, float x1, float y1, float width, Rgba colour);
void drawRing(Canvas& canvas, float cx, float cy, float radius, float width, Rgba colour);
void fillDisc(Canvas& canvas, float cx, float cy, float radius, Rgba colour);
// A ring limited to the angles a0..a1 (radians, counter-clockwise from +x, y up on screen).
void drawArc(Canvas& canvas, float cx, float cy, float radius, float width, float a0, float a1, Rgba colour);
