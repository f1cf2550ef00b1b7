// The text images: greetings, intro captions, credits, the production, group and end logos.
// White or tinted letters from the DejaVu face; transparent where nothing is written.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tools/make_pack/images.h"
#include "tools/make_pack/text.h"

namespace {

constexpr Colour white{1, 1, 1, 1};

int scaled(int size, float f) { return std::max(8, static_cast<int>(size * f)); }

// Lines centred one under the other, the block's middle at `centreY` (fractions of the height).
Canvas textCard(int width, int height, float f, const std::vector<std::string>& lines, float centreY,
                float lineHeight, Colour colour = white) {
  Canvas c = makeCanvas(scaled(width, f), scaled(height, f), 4, {1, 1, 1, 0});
  const float size = lineHeight * c.height;
  const float top = centreY * c.height - size * 1.15f * lines.size() / 2;
  for (size_t i = 0; i < lines.size(); ++i)
    drawTextCentred(c, lines[i], c.width * 0.5f, top + size * (1.15f * i + 0.85f), size, colour);
  return c;
}

// Greetings fill the square so they stay readable when cut into a 56 x 56 tile grid.
Canvas greetings(float f, const std::vector<std::string>& names) { return textCard(512, 512, f, names, 0.5f, 0.13f); }

// Captions sit in the lower middle of the screen, well inside the letterbox bars.
Canvas caption(float f, const std::vector<std::string>& lines) {
  return textCard(1024, 576, f, lines, 0.68f, 0.1f);
}

Canvas credits(float f, const std::string& role, const std::string& name) {
  Canvas c = textCard(512, 256, f, {name}, 0.62f, 0.2f);
  drawTextCentred(c, role, c.width * 0.5f, c.height * 0.3f, c.height * 0.12f, {0.6f, 0.85f, 1.0f, 1});
  return c;
}

}  // namespace

Canvas drawGreetings1(float f) { return greetings(f, {"greetings to", "Nullpunkt", "Vektorkult", "Ashfall"}); }
Canvas drawGreetings2(float f) { return greetings(f, {"Moire Crew", "Halcyon Labs", "Bitrot", "Kaleido"}); }
Canvas drawGreetings3(float f) { return greetings(f, {"Sinewave Union", "Datapunk", "Luminar", "and you!"}); }

Canvas drawIntro1(float f) { return caption(f, {"Zelmora presents"}); }
Canvas drawIntro2(float f) { return caption(f, {"tarvik"}); }
Canvas drawIntro3(float f) { return caption(f, {"a real-time demo"}); }

Canvas drawCredits1(float f) { return credits(f, "code", "Kestrel"); }
Canvas drawCredits2(float f) { return credits(f, "music", "Ondine"); }
Canvas drawCredits3(float f) { return credits(f, "graphics", "Marrow"); }

// The title over a dark blue field with horizontal light bars and a rule under the letters.
Canvas drawProductionLogo(float f) {
  Canvas c = makeCanvas(scaled(1920, f), scaled(1080, f), 4, {0.02f, 0.03f, 0.08f, 1});
  for (int y = 0; y < c.height; ++y) {
    const float v = static_cast<float>(y) / c.height;
    fillRect(c, 0, y, c.width, y + 1, {0.05f + 0.1f * v, 0.06f + 0.08f * v, 0.2f + 0.2f * v, 1});
  }
  for (int bar = 0; bar < 6; ++bar) {
    const int y = static_cast<int>(c.height * (0.2f + 0.12f * bar));
    fillRect(c, 0, y, c.width, y + std::max(1, c.height / 270), {0.3f, 0.5f, 1.0f, 0.35f});
  }
  const float title = c.height * 0.3f;
  drawTextCentred(c, "TARVIK", c.width * 0.5f + title * 0.03f, c.height * 0.56f + title * 0.03f, title,
                  {0, 0, 0, 0.7f});
  drawTextCentred(c, "TARVIK", c.width * 0.5f, c.height * 0.56f, title, {1.0f, 0.78f, 0.3f, 1});
  fillRect(c, static_cast<int>(c.width * 0.2f), static_cast<int>(c.height * 0.62f), static_cast<int>(c.width * 0.8f),
           static_cast<int>(c.height * 0.625f), {1, 1, 1, 0.9f});
  drawTextCentred(c, "a Zelmora production", c.width * 0.5f, c.height * 0.72f, c.height * 0.06f, white);
  return c;
}

// The group name inside a ring, transparent around it.
Canvas drawGroupLogo(float f) {
  Canvas c = makeCanvas(scaled(512, f), scaled(256, f), 4, {1, 1, 1, 0});
  strokeCircle(c, c.width * 0.5f, c.height * 0.5f, c.height * 0.44f, c.height * 0.03f, {0.5f, 0.8f, 1, 0.9f});
  drawTextCentred(c, "ZELMORA", c.width * 0.5f, c.height * 0.62f, c.height * 0.3f, white);
  return c;
}

// Screen-shaped and black; the end composite unrolls two thin strips around the middle of
// the screen, so the name sits on the centre line, no taller than a tenth of the height.
Canvas drawEndLogo(float f) {
  Canvas c = makeCanvas(scaled(512, f), scaled(288, f), 3, {0, 0, 0, 1});
  drawTextCentred(c, "ZELMORA", c.width * 0.5f, c.height * 0.545f, c.height * 0.125f, white);
  return c;
}
