// Glyph rasterising and blending with stb_truetype.
#include "tools/make_pack/text.h"

#include <stb_truetype.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<unsigned char> fontBytes;
stbtt_fontinfo font;

bool readFont(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  fontBytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return stbtt_InitFont(&font, fontBytes.data(), stbtt_GetFontOffsetForIndex(fontBytes.data(), 0)) != 0;
}

void drawGlyph(Canvas& canvas, int codepoint, float x, float baseline, float scale, Colour c) {
  int w = 0, h = 0, xoff = 0, yoff = 0;
  unsigned char* bitmap = stbtt_GetCodepointBitmapSubpixel(&font, scale, scale, x - static_cast<int>(x), 0.0f,
                                                           codepoint, &w, &h, &xoff, &yoff);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      if (bitmap[j * w + i])
        blendPixel(canvas, static_cast<int>(x) + xoff + i, static_cast<int>(baseline) + yoff + j, c,
                   bitmap[j * w + i] / 255.0f);
  stbtt_FreeBitmap(bitmap, nullptr);
}

}  // namespace

bool loadPackFont() {
  return readFont("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf") ||
         readFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
}

float textWidth(const std::string& text, float pixelHeight) {
  const float scale = stbtt_ScaleForPixelHeight(&font, pixelHeight);
  float width = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    int advance = 0, bearing = 0;
    stbtt_GetCodepointHMetrics(&font, text[i], &advance, &bearing);
    width += advance * scale;
    if (i + 1 < text.size()) width += scale * stbtt_GetCodepointKernAdvance(&font, text[i], text[i + 1]);
  }
  return width;
}

void drawTextCentred(Canvas& canvas, const std::string& text, float centreX, float baseline, float pixelHeight,
                     Colour c) {
  const float scale = stbtt_ScaleForPixelHeight(&font, pixelHeight);
  float x = centreX - textWidth(text, pixelHeight) * 0.5f;
  for (size_t i = 0; i < text.size(); ++i) {
    drawGlyph(canvas, text[i], x, baseline, scale, c);
    int advance = 0, bearing = 0;
    stbtt_GetCodepointHMetrics(&font, text[i], &advance, &bearing);
    x += advance * scale;
    if (i + 1 < text.size()) x += scale * stbtt_GetCodepointKernAdvance(&font, text[i], text[i + 1]);
  }
}
