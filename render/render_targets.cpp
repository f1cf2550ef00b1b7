// Render targets, spectrum texture and the own-unit binding rule.
#include "render/render_targets.h"

#include "render/gl.h"

#include <cstdio>
#include <iostream>

#include "render/display_settings.h"
#include "render/shader_program.h"

namespace {

void setFilters(GLint filter) {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
}

GLuint createSceneColorTexture() {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, settings.renderWidth, settings.renderHeight, 0, GL_RGBA,
               GL_UNSIGNED_BYTE, nullptr);
  setFilters(GL_LINEAR);
  return texture;
}

}  // namespace

uint32_t createRenderTexture() {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, settings.renderWidth, settings.renderHeight, 0, GL_RGBA,
               GL_UNSIGNED_BYTE, nullptr);
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
  glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, format, type, nullptr);
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
  glTexImage2D(GL_TEXTURE_2D, 0, GL_R32F, 512, 1, 0, GL_RED, GL_FLOAT, raw512);
  setFilters(GL_NEAREST);
}

void bindTextureOnOwnUnit(uint32_t name) {
  glActiveTexture(GL_TEXTURE0 + name);
  glBindTexture(GL_TEXTURE_2D, name);
}

void setSampler(uint32_t programId, const char* uniformName, uint32_t textureName) {
  bindTextureOnOwnUnit(textureName);
  glUniform1i(glGetUniformLocation(programId, uniformName), static_cast<GLint>(textureName));
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
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT, settings.renderWidth, settings.renderHeight);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, target.depthBuffer);
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
    std::cout << "ERROR::FRAMEBUFFER:: Framebuffer is not complete!" << std::endl;
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  target.secondTexture = createSceneColorTexture();
  return target;
}
