// A copy of the finished picture (the composite in the window, before any overlay), so a
// paused studio can show the same frame again without running the scene, and tests can read
// the demo's picture back.
// Owns: one window-size texture and its framebuffer. Does NOT know what is drawn.
#pragma once
#include <cstdint>
#include <vector>

class WindowCopy {
 public:
  // Copies `width` x `height` of `framebuffer` in; (re)creates the copy when the size changed.
  void capture(uint32_t framebuffer, int width, int height);
  // Copies the picture back into `framebuffer`; false when there is none of that size.
  bool restore(uint32_t framebuffer, int width, int height) const;
  // RGBA rows, top row first; empty before the first capture.
  std::vector<uint8_t> readPixels() const;
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  uint32_t framebuffer_ = 0;
  uint32_t texture_ = 0;
  int width_ = 0;
  int height_ = 0;
};
