// Helpers shared by the drawings.
#include <cmath>

#include "tools/make_pack/art.h"

float levelScale(int level) {
  static const float steps[] = {1.0f, 0.875f, 0.75f, 0.65f, 0.56f, 0.48f, 0.4f, 0.33f};
  return level >= 0 && level < static_cast<int>(sizeof(steps) / sizeof(steps[0])) ? steps[level] : 0.0f;
}

Rgba cosinePalette(float t, Rgba a, Rgba b, Rgba c, Rgba d) {
  const float tau = 6.2831853f;
  return {a.r + b.r * std::cos(tau * (c.r * t + d.r)), a.g + b.g * std::cos(tau * (c.g * t + d.g)),
          a.b + b.b * std::cos(tau * (c.b * t + d.b)), 1.0f};
}

Mask drawCentredText(Canvas& canvas, const Font& font, const std::string& text, const TextStyle& style, float cx,
                     float cy, Rgba colour) {
  Mask mask = renderText(font, text, style);
  drawMask(canvas, mask, centreText(mask, cx, cy), colour);
  return mask;
}
