// Pack image loading: directory lookup, one stb_image decode per slot, upload with mipmaps.
#include "resources/pack_loader.h"

#include <GL/glew.h>
#include <stb_image.h>

#include <cstdio>

#include "render/gl_lists.h"
#include "resources/pack_directory.h"

namespace {

struct DecodedImage {
  int width = 0;
  int height = 0;
  int channels = 0;
  unsigned char* pixels = nullptr;
};

// The pack is opened per image and closed again after the decode.
DecodedImage decodeAt(FILE* pack, long offset) {
  DecodedImage image;
  if (std::fseek(pack, offset, SEEK_SET) == 0)
    image.pixels = stbi_load_from_file(pack, &image.width, &image.height, &image.channels, 0);
  return image;
}

// A corrupt entry gets one transparent black texel: black where the image is sampled as a
// colour, nothing where it is blended over the scene, and a defined level 0 for the mipmaps.
void uploadStandIn() {
  const unsigned char transparentBlack[4] = {0, 0, 0, 0};
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, transparentBlack);
}

void uploadImage(const DecodedImage& image) {
  if (!image.pixels) return uploadStandIn();
  // Grey and grey-alpha images upload nothing, and their texture stays empty.
  if (image.channels == 3)
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, image.width, image.height, 0, GL_RGB, GL_UNSIGNED_BYTE, image.pixels);
  else if (image.channels == 4)
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE, image.pixels);
}

void setWrap(bool clamp, bool repeat) {
  const GLint mode = repeat ? GL_REPEAT : GL_CLAMP_TO_EDGE;
  if (!repeat && !clamp) return;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, mode);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, mode);
}

}  // namespace

uint32_t loadPackTexture(bool flip, bool clamp, bool repeat, const std::string& name) {
  const PackEntry* entry = findPackEntry(name);
  if (!entry || entry->offset == -1) {
    std::printf("resource %s not found\n", name.c_str());
    return 0;
  }
  std::printf("loading resource: %soffset: %d\n", name.c_str(), entry->offset);
  stbi_set_flip_vertically_on_load(flip ? 1 : 0);
  FILE* pack = std::fopen(packFilePath, "rb");
  if (!pack) {
    std::printf("could not open resource %s\n", name.c_str());
    return 0;
  }
  const DecodedImage image = decodeAt(pack, entry->offset);
  std::fclose(pack);
  if (!image.pixels) std::printf("could not decode resource %s\n", name.c_str());
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  uploadImage(image);
  setWrap(clamp, repeat);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glGenerateMipmap(GL_TEXTURE_2D);
  stbi_image_free(image.pixels);
  return texture;
}

void loadPackImages() {
  for (const PackSlot& slot : packLoadList) {
    const bool clamp = slot.wrap == PackWrap::ClampToEdge;
    const bool repeat = slot.wrap == PackWrap::Repeat;
    packTextures.push_back(loadPackTexture(slot.flip, clamp, repeat, slot.image));
  }
}
