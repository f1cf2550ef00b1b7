// Pixel canvases for the pack images: RGB or RGBA bytes, top row first, and the few drawing
// operations the images are made of (blended pixels, lines, rectangles, rings).
// Does NOT encode anything (encode.h) or know which image is which (images.h).
#pragma once
#include <cstdint>
#include <vector>

struct Colour {
  float r = 0, g = 0, b = 0, a = 1;  // 0..1
};

struct Canvas {
  int width = 0;
  int height = 0;
  int channels = 3;  // 3 or 4
  std::vector<uint8_t> bytes;
};

// The width is rounded down to a multiple of 4.
Canvas makeCanvas(int width, int height, int channels, Colour fill);
// Source-over blend of `c` with extra coverage `coverage` (0..1); outside pixels are ignored.
void blendPixel(Canvas& canvas, int x, int y, Colour c, float coverage = 1.0f);
void setPixel(Canvas& canvas, int x, int y, Colour c);
// Axis-aligned filled rectangle [x0, x1) x [y0, y1).
void fillRect(Canvas& canvas, int x0, int y0, int x1, int y1, Colour c);
// Outline of a rectangle `thickness` pixels wide, inside its bounds.
void strokeRect(Canvas& canvas, int x0, int y0, int x1, int y1, int thickness, Colour c);
// Anti-aliased ring of radius r around (cx, cy), `width` pixels wide.
void strokeCircle(Canvas& canvas, float cx, float cy, float r, float width, Colour c);
// Corner brackets of a rectangle: each arm `arm` pixels long.
void cornerBrackets(Canvas& canvas, int x0, int y0, int x1, int y1, int arm, int thickness, Colour c);
