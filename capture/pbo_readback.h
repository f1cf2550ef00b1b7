// Asynchronous read-back of a framebuffer through a ring of pixel-buffer objects: frame k is
// queued into one buffer while the buffer queued two frames earlier is mapped and copied out,
// so the renderer never waits for the pixels of the frame it has just drawn.
// Owns: the pixel-buffer objects. Does NOT flip rows or know about files or encoders.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

class PboReadback {
 public:
  // `ringSize` buffers of width x height RGBA (2 or 3 make sense; at least 1).
  PboReadback(int width, int height, int ringSize = 3);
  PboReadback(const PboReadback&) = delete;
  PboReadback& operator=(const PboReadback&) = delete;
  ~PboReadback();

  // Starts reading `framebuffer`'s colour into the next buffer. When the ring was full, the
  // oldest frame's pixels (RGBA rows, bottom row first) go to `ready` first and true comes back.
  bool queue(uint32_t framebuffer, std::vector<uint8_t>& ready);
  // Collects the oldest frame still in the ring; false when none is left.
  bool collect(std::vector<uint8_t>& ready);
  int pending() const { return pending_; }

 private:
  size_t frameBytes() const;

  int width_;
  int height_;
  std::vector<uint32_t> buffers_;
  int next_ = 0;     // the buffer the next queue writes
  int pending_ = 0;  // frames queued and not yet collected
};
