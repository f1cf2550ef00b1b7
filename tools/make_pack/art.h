// The drawings of the pack: one function per image, each taking a simplification level
// (0 = richest) and returning an image with width 0 once it has no simpler form left.
// Also the layout helpers they share. Does NOT encode or fit images (fit.h).
#pragma once
#include <cmath>
#include <string>

#include "tools/make_pack/canvas.h"
#include "tools/make_pack/text.h"

struct ArtContext {
  const Font& font;
};

using DrawFn = Image (*)(const ArtContext&, int level);

// Simpler forms of most drawings are smaller copies of the same layout: level k draws at
// this fraction of the nominal size; 0 when no level is left.
float levelScale(int level);
// Rounded to a multiple of 4, as every canvas width is.
inline int scaledSize(int nominal, float scale) { return 4 * static_cast<int>(std::lround(nominal * scale / 4.0f)); }

// Sprites are drawn on the square render target, which the final pass stretches over a
// 16:9 window; glyphs drawn this much narrower than usual look undistorted there.
inline float spriteXScale(int width, int height) { return (static_cast<float>(width) / height) * (9.0f / 16.0f); }

// The cosine colour ramp a + b cos(2π(c t + d)) per channel.
Rgba cosinePalette(float t, Rgba a, Rgba b, Rgba c, Rgba d);

// Draws a line of text centred at (cx, cy) (capitals centred on cy); returns its mask.
Mask drawCentredText(Canvas& canvas, const Font& font, const std::string& text, const TextStyle& style, float cx,
                     float cy, Rgba colour);

Image drawDirtRockTerrain(const ArtContext& art, int level);
Image drawCubeTexture(const ArtContext& art, int level);
Image drawOverlay(const ArtContext& art, int level);
Image drawBorder1(const ArtContext& art, int level);
Image drawBorder2(const ArtContext& art, int level);
Image drawBorder3(const ArtContext& art, int level);
Image drawBubble(const ArtContext& art, int level);
Image drawBlank(const ArtContext& art, int level);
Image drawGreets1(const ArtContext& art, int level);
Image drawGreets2(const ArtContext& art, int level);
Image drawGreets3(const ArtContext& art, int level);
Image drawIntro1(const ArtContext& art, int level);
Image drawIntro2(const ArtContext& art, int level);
Image drawIntro3(const ArtContext& art, int level);
Image drawCredits1(const ArtContext& art, int level);
Image drawCredits2(const ArtContext& art, int level);
Image drawCredits3(const ArtContext& art, int level);
Image drawProductionLogo(const ArtContext& art, int level);
Image drawGroupLogo(const ArtContext& art, int level);
Image drawEndLogo(const ArtContext& art, int level);
