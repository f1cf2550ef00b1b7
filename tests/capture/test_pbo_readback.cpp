// The pixel-buffer read-back ring: frames come out whole, in the order they were drawn, a ring's
// length behind the drawing, and the last ones are collected at the end.
#include <gtest/gtest.h>

#include "capture/pbo_readback.h"
#include "tests/support/gl_context.h"

namespace {

void clearTo(const TestTarget& target, int frame) {
  glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
  glViewport(0, 0, target.width, target.height);
  glClearColor(frame * 20 / 255.0f, 1.0f - frame * 20 / 255.0f, 0.5f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
}

// The red channel names the frame; every pixel must carry it.
int frameOf(const std::vector<uint8_t>& rgba, size_t pixels) {
  EXPECT_EQ(rgba.size(), pixels * 4);
  for (size_t i = 0; i < pixels; ++i)
    if (rgba[4 * i] != rgba[0] || rgba[4 * i + 1] != 255 - rgba[0]) return -1;
  return rgba[0] / 20;
}

class PboReadbackTest : public GlTest {};

}  // namespace

TEST_F(PboReadbackTest, FramesComeOutInOrderARingBehind) {
  for (int ring : {2, 3}) {
    const TestTarget target = makeTestTarget(6, 5);
    PboReadback readback(6, 5, ring);
    std::vector<int> delivered;
    std::vector<uint8_t> pixels;
    for (int frame = 0; frame < 8; ++frame) {
      clearTo(target, frame);
      const bool ready = readback.queue(target.framebuffer, pixels);
      EXPECT_EQ(ready, frame >= ring) << "ring " << ring << " frame " << frame;
      if (ready) delivered.push_back(frameOf(pixels, 30));
    }
    EXPECT_EQ(readback.pending(), ring);
    while (readback.collect(pixels)) delivered.push_back(frameOf(pixels, 30));
    EXPECT_EQ(readback.pending(), 0);
    EXPECT_EQ(delivered, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7})) << "ring " << ring;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }
}

TEST_F(PboReadbackTest, RowsStayBottomFirstAndOddWidthsArePacked) {
  // The top row alone is white: rows must come out bottom first, each whole, at an odd width.
  const TestTarget target = makeTestTarget(7, 3);
  glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_SCISSOR_TEST);
  glScissor(0, 2, 7, 1);
  glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_SCISSOR_TEST);
  PboReadback readback(7, 3, 1);
  std::vector<uint8_t> pixels;
  EXPECT_FALSE(readback.queue(target.framebuffer, pixels));
  ASSERT_TRUE(readback.collect(pixels));
  ASSERT_EQ(pixels.size(), 7u * 3 * 4);
  for (int x = 0; x < 7; ++x) {
    EXPECT_EQ(pixels[4 * x], 0) << x;                // bottom row first, black
    EXPECT_EQ(pixels[4 * (14 + x)], 255) << x;       // the top row last, white
  }
}
