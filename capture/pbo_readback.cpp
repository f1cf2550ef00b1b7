// Pixel-buffer-object ring for the offline renderer's video read-back.
#include "capture/pbo_readback.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstring>

PboReadback::PboReadback(int width, int height, int ringSize)
    : width_(width), height_(height), buffers_(std::max(ringSize, 1), 0) {
  glGenBuffers(static_cast<GLsizei>(buffers_.size()), buffers_.data());
  for (uint32_t buffer : buffers_) {
    glBindBuffer(GL_PIXEL_PACK_BUFFER, buffer);
    glBufferData(GL_PIXEL_PACK_BUFFER, static_cast<GLsizeiptr>(frameBytes()), nullptr, GL_STREAM_READ);
  }
  glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
}

PboReadback::~PboReadback() { glDeleteBuffers(static_cast<GLsizei>(buffers_.size()), buffers_.data()); }

size_t PboReadback::frameBytes() const { return static_cast<size_t>(width_) * height_ * 4; }

bool PboReadback::collect(std::vector<uint8_t>& ready) {
  if (pending_ == 0) return false;
  const int ring = static_cast<int>(buffers_.size());
  const int oldest = (next_ - pending_ + ring) % ring;
  glBindBuffer(GL_PIXEL_PACK_BUFFER, buffers_[oldest]);
  ready.resize(frameBytes());
  const void* mapped = glMapBufferRange(GL_PIXEL_PACK_BUFFER, 0, static_cast<GLsizeiptr>(frameBytes()), GL_MAP_READ_BIT);
  if (mapped) std::memcpy(ready.data(), mapped, frameBytes());
  else std::fill(ready.begin(), ready.end(), uint8_t{0});
  glUnmapBuffer(GL_PIXEL_PACK_BUFFER);
  glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
  --pending_;
  return true;
}

bool PboReadback::queue(uint32_t framebuffer, std::vector<uint8_t>& ready) {
  const bool collected = pending_ == static_cast<int>(buffers_.size()) && collect(ready);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
  glBindBuffer(GL_PIXEL_PACK_BUFFER, buffers_[next_]);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
  next_ = (next_ + 1) % static_cast<int>(buffers_.size());
  ++pending_;
  return collected;
}
