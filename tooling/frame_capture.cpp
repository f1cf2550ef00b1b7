// Offscreen window-size capture for the offline renderer.
#include "tooling/frame_capture.h"

#include <GL/glew.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cstdio>

#include "render/window_target.h"

FrameCapture::FrameCapture(int width, int height) : width_(width), height_(height) {
  glGenTextures(1, &texture_);
  glBindTexture(GL_TEXTURE_2D, texture_);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glGenFramebuffers(1, &framebuffer_);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture_, 0);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  windowFramebuffer = framebuffer_;
}

std::vector<uint8_t> FrameCapture::readPixels() const {
  const size_t rowBytes = static_cast<size_t>(width_) * 4;
  std::vector<uint8_t> bottomUp(rowBytes * height_);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
  std::vector<uint8_t> topDown(bottomUp.size());
  for (int y = 0; y < height_; ++y)
    std::copy_n(bottomUp.begin() + rowBytes * (height_ - 1 - y), rowBytes, topDown.begin() + rowBytes * y);
  return topDown;
}

bool FrameCapture::writePng(const std::string& path) const { return writePngFile(path, width_, height_, readPixels()); }

namespace {
void appendBytes(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<uint8_t>*>(context);
  const auto* bytes = static_cast<const uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}
}  // namespace

bool writePngFile(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba) {
  std::vector<uint8_t> png;
  if (!stbi_write_png_to_func(appendBytes, &png, width, height, 4, rgba.data(), width * 4)) return false;
  const std::string temporary = path + ".part";
  FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}
