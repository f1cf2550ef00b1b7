// The name-to-drawing table of the pack.
#include "tools/make_pack/images.h"

namespace {

struct NamedDrawing {
  const char* name;
  ImageDrawing draw;
};

constexpr NamedDrawing drawings[] = {
    {"DirtRockTerrain.jpg", drawTerrainTexture}, {"overlay.png", drawOverlay},
    {"bubble2.png", drawBubble},                 {"gtext1.png", drawGreetings1},
    {"gtext2.png", drawGreetings2},              {"gtext3.png", drawGreetings3},
    {"border1.png", drawBorder1},                {"border2.png", drawBorder2},
    {"tarviklogo1080p.png", drawProductionLogo}, {"cube.jpg", drawCubeTexture},
    {"smalllogo.png", drawGroupLogo},            {"intro1.png", drawIntro1},
    {"intro2.png", drawIntro2},                  {"intro3.png", drawIntro3},
    {"credits1.png", drawCredits1},              {"credits2.png", drawCredits2},
    {"credits3.png", drawCredits3},              {"endlogo.png", drawEndLogo},
    {"border3.png", drawBorder3},                {"blank.png", drawBlank},
};

}  // namespace

ImageDrawing findImageDrawing(const std::string& name) {
  for (const NamedDrawing& d : drawings)
    if (name == d.name) return d.draw;
  return nullptr;
}
