// Text for the pack images: the DejaVu font through stb_truetype, lines rasterised into
// coverage masks, blurred copies for glows and shadows, and drawing masks onto a canvas.
// Does NOT lay out whole images: the art files decide what goes where.
#pragma once
#include <stb_truetype.h>

#include <cmath>
#include <string>
#include <vector>

#include "tools/make_pack/canvas.h"

// Holds the font file that `info` points into, so it is neither copied nor moved.
struct Font {
  Font() = default;
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;
  std::vector<unsigned char> data;
  stbtt_fontinfo info{};
  bool loaded = false;
};

// The bold DejaVu face, falling back to the regular one; false when neither opens.
bool loadDemoFont(Font& font, std::string& triedPaths);
bool loadFontFile(Font& font, const std::string& path);

struct TextStyle {
  float pixelHeight = 32.0f;  // ascent to descent
  float xScale = 1.0f;        // < 1 narrows the glyphs (for pictures stretched wider on screen)
  float tracking = 0.0f;      // extra space between letters, in units of pixelHeight
};

// Coverage 0..1; the pen starts at (originX, originY), originY being the baseline row.
struct Mask {
  int width = 0;
  int height = 0;
  int originX = 0;
  int originY = 0;
  float advance = 0.0f;    // pen travel of the whole line
  float capHeight = 0.0f;  // height of a capital above the baseline
  std::vector<float> coverage;
  float at(int x, int y) const { return coverage[static_cast<size_t>(y) * width + x]; }
};

Mask renderText(const Font& font, const std::string& text, const TextStyle& style);
// Two box passes of `radius` pixels (about a Gaussian); the mask grows by 2 × radius per side.
Mask blurMask(const Mask& mask, int radius, float gain);
// Coverage grown by `radius` pixels in every direction (for outlines).
Mask dilateMask(const Mask& mask, int radius);

struct TextPlacement {
  float penX = 0.0f;
  float baselineY = 0.0f;
};
// Centres the line's advance on cx and its capitals on cy.
TextPlacement centreText(const Mask& mask, float cx, float cy);

// Blends colourAt(x, y) over the canvas through the mask placed at `at`.
template <typename ColourAt>
void drawMaskWith(Canvas& canvas, const Mask& mask, TextPlacement at, ColourAt colourAt) {
  const int left = static_cast<int>(std::lround(at.penX)) - mask.originX;
  const int top = static_cast<int>(std::lround(at.baselineY)) - mask.originY;
  for (int j = 0; j < mask.height; ++j)
    for (int i = 0; i < mask.width; ++i) {
      const float c = mask.at(i, j);
      if (c > 0.0f) blendPixel(canvas, left + i, top + j, colourAt(left + i, top + j), c);
    }
}

inline void drawMask(Canvas& canvas, const Mask& mask, TextPlacement at, Rgba colour) {
  drawMaskWith(canvas, mask, at, [colour](int, int) { return colour; });
}
