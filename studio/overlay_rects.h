// Solid rectangles straight into a framebuffer, for bars and marks over the finished picture
// (the studio's timeline strip). A scissored clear each: no program, no blending.
// Owns: nothing. Does NOT keep GL state changed: the scissor test is off again afterwards.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

struct OverlayRect {
  float x = 0.0f, y = 0.0f, width = 0.0f, height = 0.0f;  // window pixels from the top left
  std::array<float, 3> color{1.0f, 1.0f, 1.0f};
};

void drawOverlayRects(const std::vector<OverlayRect>& rects, uint32_t framebuffer, int width, int height);
