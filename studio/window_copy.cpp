// Window picture copies by framebuffer blits.
#include "studio/window_copy.h"

#include <GL/glew.h>

#include <algorithm>

namespace {

void blit(uint32_t from, uint32_t to, int width, int height) {
  glBindFramebuffer(GL_READ_FRAMEBUFFER, from);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to);
  glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

}  // namespace

void WindowCopy::capture(uint32_t framebuffer, int width, int height) {
  if (width <= 0 || height <= 0) return;
  if (width != width_ || height != height_) {
    if (texture_ == 0) glGenTextures(1, &texture_);
    if (framebuffer_ == 0) glGenFramebuffers(1, &framebuffer_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture_, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    width_ = width;
    height_ = height;
  }
  blit(framebuffer, framebuffer_, width, height);
}

bool WindowCopy::restore(uint32_t framebuffer, int width, int height) const {
  if (framebuffer_ == 0 || width != width_ || height != height_) return false;
  blit(framebuffer_, framebuffer, width, height);
  return true;
}

std::vector<uint8_t> WindowCopy::readPixels() const {
  if (framebuffer_ == 0) return {};
  const size_t rowBytes = static_cast<size_t>(width_) * 4;
  std::vector<uint8_t> bottomUp(rowBytes * height_);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  std::vector<uint8_t> topDown(bottomUp.size());
  for (int y = 0; y < height_; ++y)
    std::copy_n(bottomUp.begin() + rowBytes * (height_ - 1 - y), rowBytes, topDown.begin() + rowBytes * y);
  return topDown;
}
