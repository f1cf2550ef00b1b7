// Pack assembly.
#include "tools/make_pack/pack.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "resources/pack_directory.h"

namespace {

struct Recipe {
  const char* name;
  DrawFn draw;
};

const Recipe recipes[] = {
    {"DirtRockTerrain.jpg", drawDirtRockTerrain}, {"overlay.png", drawOverlay},
    {"bubble2.png", drawBubble},                  {"gtext1.png", drawGreets1},
    {"gtext2.png", drawGreets2},                  {"gtext3.png", drawGreets3},
    {"border1.png", drawBorder1},                 {"border2.png", drawBorder2},
    {"tarviklogo1080p.png", drawProductionLogo},  {"cube.jpg", drawCubeTexture},
    {"smalllogo.png", drawGroupLogo},             {"intro1.png", drawIntro1},
    {"intro2.png", drawIntro2},                   {"intro3.png", drawIntro3},
    {"credits1.png", drawCredits1},               {"credits2.png", drawCredits2},
    {"credits3.png", drawCredits3},               {"endlogo.png", drawEndLogo},
    {"border3.png", drawBorder3},                 {"blank.png", drawBlank},
};

}  // namespace

DrawFn drawingFor(const std::string& name) {
  for (const Recipe& r : recipes)
    if (name == r.name) return r.draw;
  return nullptr;
}

bool buildPackImages(const ArtContext& art, std::vector<PackImage>& images, std::string& error) {
  images.clear();
  for (const PackEntry& entry : packDirectory) {
    const DrawFn draw = drawingFor(entry.name);
    if (!draw || entry.offset < 0 || entry.size <= 0) {
      error = "no drawing for directory row " + entry.name;
      return false;
    }
    PackImage image;
    if (!fitImage(entry.name, static_cast<size_t>(entry.size), draw, art, image, error)) return false;
    images.push_back(std::move(image));
  }
  return true;
}

Bytes concatenatePack(const std::vector<PackImage>& images) {
  Bytes pack;
  for (const PackImage& image : images) pack.insert(pack.end(), image.file.begin(), image.file.end());
  return pack;
}

bool writeBytes(const std::string& path, const Bytes& bytes, std::string& error) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const bool closed = std::fclose(f) == 0;
  if (!ok || !closed) error = "cannot write " + path;
  return ok && closed;
}
