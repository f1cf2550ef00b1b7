// A window-size offscreen target that stands in for the window, and its PNG read-back.
// Owns: its framebuffer and colour texture. Creating it points windowFramebuffer at it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class FrameCapture {
 public:
  FrameCapture(int width, int height);
  // Reads the target back, flips it top-down and writes a PNG; a failed write leaves no file.
  bool writePng(const std::string& path) const;
  // The pixels as RGBA rows, top row first.
  std::vector<uint8_t> readPixels() const;
  uint32_t framebuffer() const { return framebuffer_; }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_;
  int height_;
  uint32_t framebuffer_ = 0;
  uint32_t texture_ = 0;
};

// Writes RGBA rows (top first) as a PNG through a temporary file, so a failure leaves nothing.
bool writePngFile(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba);
