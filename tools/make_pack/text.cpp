// Font loading and line rasterisation: glyphs are rendered with sub-pixel pen positions and
// kerning, and merged into one mask by taking the larger coverage where they overlap.
#include "tools/make_pack/text.h"

#include <algorithm>
#include <fstream>
#include <iterator>

bool loadFontFile(Font& font, const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  font.data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (font.data.empty()) return false;
  const int offset = stbtt_GetFontOffsetForIndex(font.data.data(), 0);
  font.loaded = offset >= 0 && stbtt_InitFont(&font.info, font.data.data(), offset) != 0;
  return font.loaded;
}

bool loadDemoFont(Font& font, std::string& triedPaths) {
  const char* paths[] = {"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
                         "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"};
  triedPaths.clear();
  for (const char* path : paths) {
    if (loadFontFile(font, path)) return true;
    triedPaths += (triedPaths.empty() ? "" : ", ") + std::string(path);
  }
  return false;
}

namespace {

struct LineMetrics {
  float scaleY, scaleX, ascent, descent, advance, capHeight;
};

LineMetrics measure(const Font& font, const std::string& text, const TextStyle& style) {
  LineMetrics m{};
  m.scaleY = stbtt_ScaleForPixelHeight(&font.info, style.pixelHeight);
  m.scaleX = m.scaleY * style.xScale;
  int ascent = 0, descent = 0, gap = 0;
  stbtt_GetFontVMetrics(&font.info, &ascent, &descent, &gap);
  m.ascent = ascent * m.scaleY;
  m.descent = -descent * m.scaleY;
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  stbtt_GetCodepointBox(&font.info, 'H', &x0, &y0, &x1, &y1);
  m.capHeight = y1 * m.scaleY;
  const float track = style.tracking * style.pixelHeight * style.xScale;
  for (size_t i = 0; i < text.size(); ++i) {
    int adv = 0, lsb = 0;
    stbtt_GetCodepointHMetrics(&font.info, static_cast<unsigned char>(text[i]), &adv, &lsb);
    m.advance += adv * m.scaleX + (i + 1 < text.size() ? track : 0.0f);
    if (i + 1 < text.size())
      m.advance += m.scaleX * stbtt_GetCodepointKernAdvance(&font.info, static_cast<unsigned char>(text[i]),
                                                             static_cast<unsigned char>(text[i + 1]));
  }
  return m;
}

}  // namespace

Mask renderText(const Font& font, const std::string& text, const TextStyle& style) {
  Mask mask;
  if (!font.loaded) return mask;
  const LineMetrics m = measure(font, text, style);
  const int pad = 2 + static_cast<int>(style.pixelHeight * 0.1f);
  mask.originX = pad;
  mask.originY = pad + static_cast<int>(std::ceil(m.ascent));
  mask.width = static_cast<int>(std::ceil(m.advance)) + 2 * pad;
  mask.height = static_cast<int>(std::ceil(m.ascent + m.descent)) + 2 * pad;
  mask.advance = m.advance;
  mask.capHeight = m.capHeight;
  mask.coverage.assign(static_cast<size_t>(mask.width) * mask.height, 0.0f);
  const float track = style.tracking * style.pixelHeight * style.xScale;
  float pen = static_cast<float>(pad);
  std::vector<unsigned char> glyph;
  for (size_t i = 0; i < text.size(); ++i) {
    const int cp = static_cast<unsigned char>(text[i]);
    const int penInt = static_cast<int>(std::floor(pen));
    const float shift = pen - penInt;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    stbtt_GetCodepointBitmapBoxSubpixel(&font.info, cp, m.scaleX, m.scaleY, shift, 0.0f, &x0, &y0, &x1, &y1);
    const int gw = x1 - x0, gh = y1 - y0;
    if (gw > 0 && gh > 0) {
      glyph.assign(static_cast<size_t>(gw) * gh, 0);
      stbtt_MakeCodepointBitmapSubpixel(&font.info, glyph.data(), gw, gh, gw, m.scaleX, m.scaleY, shift, 0.0f, cp);
      for (int y = 0; y < gh; ++y)
        for (int x = 0; x < gw; ++x) {
          const int mx = penInt + x0 + x, my = mask.originY + y0 + y;
          if (mx < 0 || my < 0 || mx >= mask.width || my >= mask.height) continue;
          float& c = mask.coverage[static_cast<size_t>(my) * mask.width + mx];
          c = std::max(c, glyph[static_cast<size_t>(y) * gw + x] / 255.0f);
        }
    }
    int adv = 0, lsb = 0;
    stbtt_GetCodepointHMetrics(&font.info, cp, &adv, &lsb);
    pen += adv * m.scaleX + track;
    if (i + 1 < text.size())
      pen += m.scaleX * stbtt_GetCodepointKernAdvance(&font.info, cp, static_cast<unsigned char>(text[i + 1]));
  }
  return mask;
}

namespace {

Mask grown(const Mask& mask, int by) {
  Mask out = mask;
  out.width = mask.width + 2 * by;
  out.height = mask.height + 2 * by;
  out.originX = mask.originX + by;
  out.originY = mask.originY + by;
  out.coverage.assign(static_cast<size_t>(out.width) * out.height, 0.0f);
  for (int y = 0; y < mask.height; ++y)
    for (int x = 0; x < mask.width; ++x) out.coverage[static_cast<size_t>(y + by) * out.width + x + by] = mask.at(x, y);
  return out;
}

// One running-sum box pass along x (dx = 1) or y (dx = 0).
void boxPass(Mask& m, int radius, bool alongX) {
  const int n = alongX ? m.width : m.height, lines = alongX ? m.height : m.width;
  std::vector<float> line(n);
  const float norm = 1.0f / (2 * radius + 1);
  for (int l = 0; l < lines; ++l) {
    auto ref = [&](int i) -> float& {
      return alongX ? m.coverage[static_cast<size_t>(l) * m.width + i] : m.coverage[static_cast<size_t>(i) * m.width + l];
    };
    for (int i = 0; i < n; ++i) line[i] = ref(i);
    float sum = 0.0f;
    for (int i = -radius; i <= radius; ++i) sum += (i >= 0 && i < n) ? line[i] : 0.0f;
    for (int i = 0; i < n; ++i) {
      ref(i) = sum * norm;
      const int add = i + radius + 1, drop = i - radius;
      sum += (add < n ? line[add] : 0.0f) - (drop >= 0 ? line[drop] : 0.0f);
    }
  }
}

}  // namespace

Mask blurMask(const Mask& mask, int radius, float gain) {
  Mask out = grown(mask, 2 * std::max(radius, 0));
  if (radius <= 0) return out;
  for (int pass = 0; pass < 2; ++pass) {
    boxPass(out, radius, true);
    boxPass(out, radius, false);
  }
  for (float& c : out.coverage) c = std::min(1.0f, c * gain);
  return out;
}

Mask dilateMask(const Mask& mask, int radius) {
  const Mask src = grown(mask, radius);
  Mask out = src;
  for (int y = 0; y < src.height; ++y)
    for (int x = 0; x < src.width; ++x) {
      float best = 0.0f;
      for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
          const int sx = x + dx, sy = y + dy;
          if (sx < 0 || sy < 0 || sx >= src.width || sy >= src.height) continue;
          // Round brush: the corner samples count less, so outlines keep round ends.
          const float reach = static_cast<float>(radius) + 0.5f - std::sqrt(static_cast<float>(dx * dx + dy * dy));
          best = std::max(best, src.at(sx, sy) * clamp01(reach));
        }
      out.coverage[static_cast<size_t>(y) * out.width + x] = best;
    }
  return out;
}

TextPlacement centreText(const Mask& mask, float cx, float cy) {
  return {cx - mask.advance * 0.5f, cy + mask.capHeight * 0.5f};
}
