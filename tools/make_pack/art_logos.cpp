// The three logos: the production's title card that carries the logo part, the group's
// wordmark sprite, and the closing wordmark that splits along the screen's centre line.
#include <algorithm>
#include <cmath>

#include "tools/make_pack/art.h"
#include "tools/make_pack/noise.h"

namespace {

// Chrome: a pale sky reflection on top, a hard dark horizon just below the middle of the
// capitals, and light coming back up from the ground; t is 0 at the cap top, 1 at the baseline.
Rgba chromeAt(float t) {
  if (t < 0.52f) return mixColour({0.7f, 0.92f, 1.0f, 1}, {1.0f, 1.0f, 1.0f, 1}, smoothstep(0.0f, 0.52f, t));
  return mixColour({0.12f, 0.1f, 0.45f, 1}, {0.85f, 0.55f, 1.0f, 1}, smoothstep(0.52f, 1.05f, t));
}

struct Title {
  Mask mask;
  TextPlacement at;
};

Title placeTitle(const Font& font, const char* text, float pixelHeight, float xScale, float tracking, float cx, float cy) {
  TextStyle style;
  style.pixelHeight = pixelHeight;
  style.xScale = xScale;
  style.tracking = tracking;
  Title t{renderText(font, text, style), {}};
  t.at = centreText(t.mask, cx, cy);
  return t;
}

// Shadow, dark outline and chrome fill of a title, in that order.
void drawChromeTitle(Canvas& canvas, const Title& title, int outline, int shadowBlur, Rgba outlineColour) {
  const float capTop = title.at.baselineY - title.mask.capHeight;
  if (shadowBlur > 0) {
    const TextPlacement shadowAt{title.at.penX + shadowBlur, title.at.baselineY + shadowBlur};
    drawMask(canvas, blurMask(title.mask, shadowBlur, 1.3f), shadowAt, Rgba{0, 0, 0, 0.75f});
  }
  if (outline > 0) drawMask(canvas, dilateMask(title.mask, outline), title.at, outlineColour);
  drawMaskWith(canvas, title.mask, title.at,
               [&](int, int y) { return chromeAt((y + 0.5f - capTop) / title.mask.capHeight); });
}

void fillRows(Canvas& canvas, int y0, int y1, Rgba top, Rgba bottom) {
  for (int y = std::max(y0, 0); y < std::min(y1, canvas.height); ++y) {
    const Rgba c = mixColour(top, bottom, static_cast<float>(y - y0) / std::max(y1 - y0 - 1, 1));
    std::fill_n(canvas.pixels.begin() + static_cast<std::ptrdiff_t>(y) * canvas.width, canvas.width, c);
  }
}

// A banded sun: colour by row only, with gaps that widen toward the horizon.
void drawSun(Canvas& canvas, float cx, float cy, float r, int horizon) {
  for (int y = static_cast<int>(cy - r); y < std::min(horizon, static_cast<int>(cy + r)); ++y) {
    const float yc = y + 0.5f - cy, t = (yc + r) / (2 * r);
    const float band = std::fmod(yc + 4000.0f, r * 0.16f), gap = r * 0.16f * smoothstep(0.05f, 1.0f, yc / r) * 0.7f;
    if (yc > 0.0f && band < gap) continue;
    const float half = std::sqrt(std::max(r * r - yc * yc, 0.0f));
    const Rgba c = mixColour({1.0f, 0.88f, 0.4f, 1}, {1.0f, 0.2f, 0.55f, 1}, t);
    fillRect(canvas, cx - half, static_cast<float>(y), cx + half, static_cast<float>(y + 1), c);
  }
}

// Perspective floor lines: rows closing up toward the horizon and rays from the vanishing point.
void drawFloorGrid(Canvas& canvas, int horizon, float bottom, bool rays) {
  const float w = static_cast<float>(canvas.width), depth = bottom - horizon;
  const Rgba line{1.0f, 0.35f, 0.85f, 1};
  for (int k = 1; k <= 14; ++k) {
    const float y = horizon + depth * 1.4f / (k + 0.4f);
    if (y >= bottom) continue;
    const float fade = smoothstep(0.0f, depth, y - horizon) * 0.8f + 0.2f;
    drawLine(canvas, 0, y, w, y, 2.0f, withAlpha(line, fade));
  }
  if (!rays) return;
  for (int i = -10; i <= 10; ++i)
    drawLine(canvas, w * 0.5f, static_cast<float>(horizon), w * 0.5f + i * w * 0.13f, bottom, 1.5f,
             withAlpha(line, 0.6f));
}

void drawStars(Canvas& canvas, int count, float maxY) {
  Prng rng{77u};
  for (int i = 0; i < count; ++i) {
    const float x = rng.next() * canvas.width, y = rng.range(0.1f, 1.0f) * maxY;
    const float b = rng.range(0.3f, 1.0f);
    fillDisc(canvas, x, y, rng.range(0.7f, 1.8f), Rgba{b, b, std::min(1.0f, b * 1.1f), 1});
  }
}

}  // namespace

// The title card: a night sky over a neon floor, a banded sun and the chrome title, with
// the group's credit underneath. Simpler levels drop the stars, then the floor's rays.
Image drawProductionLogo(const ArtContext& art, int level) {
  if (level > 3) return {};
  const int w = 1920, h = 1080, horizon = static_cast<int>(h * 0.64f);
  Canvas canvas = makeCanvas(w, h, Rgba{0, 0, 0, 1});
  fillRows(canvas, 0, horizon, {0.03f, 0.02f, 0.1f, 1}, {0.3f, 0.06f, 0.33f, 1});
  fillRows(canvas, horizon, h, {0.16f, 0.03f, 0.2f, 1}, {0.01f, 0.0f, 0.03f, 1});
  if (level < 1) drawStars(canvas, 160, horizon * 0.8f);
  drawSun(canvas, w * 0.5f, h * 0.42f, h * 0.27f, horizon);
  drawFloorGrid(canvas, horizon, h * 0.9f, level < 2);
  fillRect(canvas, 0, horizon - 1.5f, static_cast<float>(w), horizon + 1.5f, Rgba{1.0f, 0.75f, 0.95f, 1});
  const Title title = placeTitle(art.font, "TARVIK", h * 0.36f, 1.0f, 0.06f, w * 0.5f, h * 0.5f);
  drawChromeTitle(canvas, title, 6, level < 3 ? 10 : 0, Rgba{0.06f, 0.02f, 0.16f, 1});
  TextStyle credit;
  credit.pixelHeight = h * 0.05f;
  credit.tracking = 0.35f;
  drawCentredText(canvas, art.font, "A ZELMORA PRODUCTION", credit, w * 0.5f, h * 0.845f, Rgba{1.0f, 0.85f, 0.95f, 1});
  return toImage(canvas, 3);
}

// The group's wordmark between two rules with diamonds, on transparent; a 2:1 sprite.
Image drawGroupLogo(const ArtContext& art, int level) {
  const float s = levelScale(level);
  if (s <= 0.0f) return {};
  const int w = scaledSize(768, s), h = scaledSize(384, s);
  Canvas canvas = makeCanvas(w, h, Rgba{0, 0, 0, 0});
  const float xScale = spriteXScale(w, h), cx = w * 0.5f, cy = h * 0.5f;
  const Title title = placeTitle(art.font, "ZELMORA", h * 0.26f, xScale, 0.05f, cx, cy);
  const float half = title.mask.advance * 0.5f + h * 0.06f, u = h / 384.0f;
  for (int side = -1; side <= 1; side += 2) {
    const float y = cy + side * h * 0.17f;
    drawLine(canvas, cx - half, y, cx + half, y, 4.0f * u, Rgba{0.6f, 0.95f, 1.0f, 1});
    const float d = h * 0.03f;
    for (float x : {cx - half, cx + half}) {
      drawLine(canvas, x - d, y, x, y - d, 3.0f * u, Rgba{1, 1, 1, 1});
      drawLine(canvas, x, y - d, x + d, y, 3.0f * u, Rgba{1, 1, 1, 1});
      drawLine(canvas, x + d, y, x, y + d, 3.0f * u, Rgba{1, 1, 1, 1});
      drawLine(canvas, x, y + d, x - d, y, 3.0f * u, Rgba{1, 1, 1, 1});
    }
  }
  drawChromeTitle(canvas, title, std::max(2, static_cast<int>(4 * u)), 0, Rgba{0.04f, 0.02f, 0.12f, 1});
  return toImage(canvas, 4);
}

// The closing wordmark. The end part shows only the image rows between 45 % and 55 % of
// its height, in two strips that open up and down from the screen's centre line (the rows
// between 48.75 % and 50 % are never shown), so the letters fill exactly that band, split
// by the line; everything else stays black.
Image drawEndLogo(const ArtContext& art, int level) {
  const float s = levelScale(level);
  if (s <= 0.0f) return {};
  const int w = scaledSize(480, s), h = scaledSize(270, s);
  Canvas canvas = makeCanvas(w, h, Rgba{0, 0, 0, 1});
  const float capTop = h * 0.457f, capBottom = h * 0.544f;
  TextStyle style;
  style.tracking = 0.25f;
  style.xScale = 1.0f;
  style.pixelHeight = 1.0f;
  const Mask probe = renderText(art.font, "TARVIK", style);
  style.pixelHeight = (capBottom - capTop) / std::max(probe.capHeight, 0.01f);
  const Mask mask = renderText(art.font, "TARVIK", style);
  const TextPlacement at{w * 0.5f - mask.advance * 0.5f, capBottom};
  // Two tones, pale gold above the split and amber below it: flat colours keep the file
  // within its few kilobytes.
  const float split = h * 0.49f;
  drawMaskWith(canvas, mask, at, [&](int, int y) {
    return y + 0.5f < split ? Rgba{1.0f, 0.9f, 0.6f, 1} : Rgba{1.0f, 0.6f, 0.25f, 1};
  });
  return toImage(canvas, 3);
}
