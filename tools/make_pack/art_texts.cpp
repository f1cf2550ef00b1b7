// The text cards: greetings shown on the tile grid, the intro captions over the opening
// flight and the credits that slide past the lattice. All are light text on transparent;
// the transparent pixels keep the text's colour so filtering leaves no dark fringe.
#include <string>
#include <vector>

#include "tools/make_pack/art.h"

namespace {

struct Line {
  std::string text;
  float size;      // pixel height as a fraction of the image height
  float centreY;   // capitals centred here, fraction of the height from the top
  Rgba colour;
  float tracking;
};

Canvas drawCard(const ArtContext& art, int width, int height, float xScale, const std::vector<Line>& lines,
                Rgba clear) {
  Canvas canvas = makeCanvas(width, height, clear);
  for (const Line& line : lines) {
    TextStyle style;
    style.pixelHeight = line.size * height;
    style.xScale = xScale;
    style.tracking = line.tracking;
    drawCentredText(canvas, art.font, line.text, style, width * 0.5f, line.centreY * height, line.colour);
  }
  return canvas;
}

const Rgba white{1, 1, 1, 1};
const Rgba clearWhite{1, 1, 1, 0};

// Greetings: 2:1 cards on the square tile grid. Each line spans at least six of the grid's
// 56 rows so a name survives the shimmer of single tiles.
Image greetsCard(const ArtContext& art, int level, const std::vector<std::string>& names, const char* header,
                 const char* footer) {
  const float s = levelScale(level);
  if (s <= 0.0f) return {};
  const int w = scaledSize(768, s), h = scaledSize(384, s);
  std::vector<Line> lines;
  const float top = header ? 0.3f : 0.2f, bottom = footer ? 0.72f : 0.8f;
  if (header) lines.push_back({header, 0.1f, 0.14f, white, 0.12f});
  for (size_t i = 0; i < names.size(); ++i) {
    const float y = names.size() > 1 ? top + (bottom - top) * i / (names.size() - 1) : 0.5f;
    lines.push_back({names[i], 0.15f, y, white, 0.02f});
  }
  if (footer) lines.push_back({footer, 0.1f, 0.87f, white, 0.06f});
  return toImage(drawCard(art, w, h, spriteXScale(w, h), lines, clearWhite), 4);
}

// Intro captions: 16:9, sampled over the whole window.
Image introCard(const ArtContext& art, int level, const std::vector<Line>& lines) {
  const float s = levelScale(level);
  if (s <= 0.0f) return {};
  const int w = scaledSize(960, s), h = scaledSize(540, s);
  return toImage(drawCard(art, w, h, 1.0f, lines, clearWhite), 4);
}

// Credits: a role over a name, 2:1 sprites on the square target.
Image creditsCard(const ArtContext& art, int level, const char* role, const char* name, Rgba accent) {
  const float s = levelScale(level);
  if (s <= 0.0f) return {};
  const int w = scaledSize(384, s), h = scaledSize(192, s);
  const std::vector<Line> lines = {{role, 0.17f, 0.33f, accent, 0.18f}, {name, 0.3f, 0.64f, white, 0.03f}};
  return toImage(drawCard(art, w, h, spriteXScale(w, h), lines, Rgba{accent.r, accent.g, accent.b, 0}), 4);
}

}  // namespace

Image drawGreets1(const ArtContext& art, int level) {
  return greetsCard(art, level, {"Quillfire", "Noctavia", "Brassmoth", "Kelpforge"}, "greetings to", nullptr);
}

Image drawGreets2(const ArtContext& art, int level) {
  return greetsCard(art, level, {"Velvet Static", "Paper Comet", "Amberlane", "Fjordlight", "Mirrorgrain"}, nullptr,
                    nullptr);
}

Image drawGreets3(const ArtContext& art, int level) {
  return greetsCard(art, level, {"Cobalt Tortoise", "Lumenkraft", "Hollow Pines", "Ninefold"}, nullptr,
                    "and everyone watching");
}

Image drawIntro1(const ArtContext& art, int level) {
  return introCard(art, level, {{"Zelmora", 0.15f, 0.56f, white, 0.08f}, {"presents", 0.06f, 0.67f, white, 0.3f}});
}

Image drawIntro2(const ArtContext& art, int level) {
  return introCard(art, level, {{"tarvik", 0.22f, 0.5f, white, 0.1f}});
}

Image drawIntro3(const ArtContext& art, int level) {
  return introCard(art, level, {{"a real-time demo", 0.1f, 0.64f, white, 0.05f},
                                {"every pixel and every note made by code", 0.045f, 0.73f, white, 0.08f}});
}

Image drawCredits1(const ArtContext& art, int level) {
  return creditsCard(art, level, "CODE", "Vessk", Rgba{0.55f, 0.9f, 1.0f, 1});
}

Image drawCredits2(const ArtContext& art, int level) {
  return creditsCard(art, level, "MUSIC", "Halvard", Rgba{1.0f, 0.75f, 0.45f, 1});
}

Image drawCredits3(const ArtContext& art, int level) {
  return creditsCard(art, level, "GRAPHICS", "Mirelle", Rgba{0.85f, 0.6f, 1.0f, 1});
}
