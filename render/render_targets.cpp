// Render targets, spectrum texture and the own-unit binding rule.
#include "render/render_targets.h"

#include "render/gl.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <vector>

#include "render/display_settings.h"
#include "render/shader_program.h"
#include "render/texture_sizes.h"

namespace {

// Level 0 of the bound texture, its size on record for those who read it (WebGL2 cannot ask).
void uploadTextureLevel(GLuint texture, GLint internalFormat, int width, int height, GLenum format, GLenum type,
                        const void* pixels) {
  glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, format, type, pixels);
  rememberTextureSize(texture, width, height);
}

void setFilters(GLint filter) {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
}

GLuint createSceneColorTexture() {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  uploadTextureLevel(texture, GL_RGBA, settings.renderWidth, settings.renderHeight, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  setFilters(GL_LINEAR);
  return texture;
}

}  // namespace

uint32_t createRenderTexture() {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  uploadTextureLevel(texture, GL_RGBA, settings.renderWidth, settings.renderHeight, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  setFilters(GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  return texture;
}

namespace {

// An exact texture for a pass's first half: nearest filters, clamped to edge. It goes on its own
// unit, so one made between passes leaves the texture on the active unit where it was.
uint32_t createExactTexture(int width, int height, GLint internalFormat, GLenum format, GLenum type) {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  bindTextureOnOwnUnit(texture);
  uploadTextureLevel(texture, internalFormat, width, height, format, type, nullptr);
  setFilters(GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  return texture;
}

}  // namespace

uint32_t createFloatRenderTexture() {
  return createExactTexture(settings.renderWidth, settings.renderHeight, GL_RGBA32F, GL_RGBA, GL_FLOAT);
}

uint32_t createWordTexture(int width, int height) {
  return createExactTexture(width, height, GL_R32UI, GL_RED_INTEGER, GL_UNSIGNED_INT);
}

uint32_t createWordRenderTexture() { return createWordTexture(settings.renderWidth, settings.renderHeight); }

uint32_t createFramebuffer(uint32_t texture) {
  GLuint framebuffer = 0;
  glGenFramebuffers(1, &framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    std::printf("Could not create framebuffer");
    std::fflush(stdout);
  }
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  return framebuffer;
}

uint32_t createSoundTexture(const float* raw512) {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  uploadSoundTexture(texture, raw512);
  return texture;
}

void uploadSoundTexture(uint32_t texture, const float* raw512) {
  bindTextureOnOwnUnit(texture);
  uploadTextureLevel(texture, GL_R32F, 512, 1, GL_RED, GL_FLOAT, raw512);
  setFilters(GL_NEAREST);
}

namespace {

#ifdef __EMSCRIPTEN__
// WebGL2 offers as few as 16 units, fewer than the demo has textures: there a texture takes the
// unit it had, else the one used least recently, so the textures of one draw never share one.
// Unit 0 stays empty, as on the desktop (no texture is named 0): a sampler a pass leaves unset
// reads it, and WebGL refuses a draw whose unset sampler would meet a texture there (another
// sampler type, or the target being drawn). The record is only a placement: every bind still
// binds, so a stale entry costs nothing.
GLint unitOf(uint32_t name) {
  static std::vector<uint32_t> textureOnUnit;
  static std::vector<uint64_t> lastUse;
  static uint64_t clock = 0;
  if (textureOnUnit.empty()) {
    GLint count = 0;
    glGetIntegerv(GL_MAX_COMBINED_TEXTURE_IMAGE_UNITS, &count);
    textureOnUnit.assign(static_cast<size_t>(std::max(count, 16)), 0);
    lastUse.assign(textureOnUnit.size(), 0);
  }
  size_t chosen = 1;
  for (size_t unit = 1; unit < textureOnUnit.size(); ++unit) {
    if (textureOnUnit[unit] == name) {
      chosen = unit;
      break;
    }
    if (lastUse[unit] < lastUse[chosen]) chosen = unit;
  }
  textureOnUnit[chosen] = name;
  lastUse[chosen] = ++clock;
  return static_cast<GLint>(chosen);
}
#else
// Desktop GL offers more units than the demo has textures: each keeps the unit of its name.
GLint unitOf(uint32_t name) { return static_cast<GLint>(name); }
#endif

}  // namespace

int bindTextureOnOwnUnit(uint32_t name) {
  const GLint unit = unitOf(name);
  glActiveTexture(GL_TEXTURE0 + unit);
  glBindTexture(GL_TEXTURE_2D, name);
  return unit;
}

void setSampler(uint32_t programId, const char* uniformName, uint32_t textureName) {
  glUniform1i(glGetUniformLocation(programId, uniformName), bindTextureOnOwnUnit(textureName));
}

void setSampler(const ShaderProgram& program, const char* uniformName, uint32_t textureName) {
  setSampler(program.programId, uniformName, textureName);
}

SceneFramebuffer createSceneFramebuffer() {
  std::cout << "CreateFrameBuffer: w:" << settings.renderWidth << " h:" << settings.renderHeight << "\n";
  SceneFramebuffer target;
  glGenFramebuffers(1, &target.frameBuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, target.frameBuffer);
  target.colorTexture = createSceneColorTexture();
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target.colorTexture, 0);
  glGenRenderbuffers(1, &target.depthBuffer);
  glBindRenderbuffer(GL_RENDERBUFFER, target.depthBuffer);
#ifdef __EMSCRIPTEN__
  const GLenum depthFormat = GL_DEPTH_COMPONENT24;  // WebGL2 takes only sized depth formats
#else
  const GLenum depthFormat = GL_DEPTH_COMPONENT;
#endif
  glRenderbufferStorage(GL_RENDERBUFFER, depthFormat, settings.renderWidth, settings.renderHeight);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, target.depthBuffer);
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
    std::cout << "ERROR::FRAMEBUFFER:: Framebuffer is not complete!" << std::endl;
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  target.secondTexture = createSceneColorTexture();
  return target;
}
