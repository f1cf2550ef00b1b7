// Pack image loading: directory lookup, one decode per slot, upload with mipmaps.
#include "resources/pack_loader.h"

#include "render/gl.h"

#include <cstdio>
#include <vector>

#include "render/gl_lists.h"
#include "resources/pack_directory.h"
#include "resources/pack_image.h"
#include "render/texture_sizes.h"

namespace {

// A corrupt entry gets one transparent black texel: black where the image is sampled as a
// colour, nothing where it is blended over the scene, and a defined level 0 for the mipmaps.
void uploadStandIn(GLuint texture) {
  const unsigned char transparentBlack[4] = {0, 0, 0, 0};
  rememberTextureSize(texture, 1, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, transparentBlack);
}

void uploadImage(GLuint texture, const PackImage& image) {
  if (!image.pixels) return uploadStandIn(texture);
  if (image.channels == 3 || image.channels == 4) rememberTextureSize(texture, image.width, image.height);
  // Grey and grey-alpha images upload nothing, and their texture stays empty.
  if (image.channels == 3)
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, image.width, image.height, 0, GL_RGB, GL_UNSIGNED_BYTE, image.pixels.get());
  else if (image.channels == 4)
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE, image.pixels.get());
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
  std::vector<unsigned char> bytes;
  if (readPackEntry(packFilePath, *entry, bytes) != InputFileStatus::ok) {
    std::printf("could not open resource %s\n", name.c_str());
    return 0;
  }
  const PackImage image = decodePackImage(bytes.data(), bytes.size(), flip);
  if (!image.pixels) std::printf("could not decode resource %s\n", name.c_str());
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  uploadImage(texture, image);
  setWrap(clamp, repeat);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glGenerateMipmap(GL_TEXTURE_2D);
  return texture;
}

void loadPackImages() {
  for (const PackSlot& slot : packLoadList) {
    const bool clamp = slot.wrap == PackWrap::ClampToEdge;
    const bool repeat = slot.wrap == PackWrap::Repeat;
    packTextures.push_back(loadPackTexture(slot.flip, clamp, repeat, slot.image));
  }
}
