// The pixels a draw over a box of the picture must cover, for a pass that changes only its box
// (the vumeters). Owns: that arithmetic. Does NOT touch GL: the pass chain reads the box back
// from the pass's uniform, copies the rest of the picture and scissors the draw.
#pragma once

struct UvBox {
  float left = 0.0f;
  float bottom = 0.0f;
  float width = 0.0f;
  float height = 0.0f;
};

struct PixelBox {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The pixels of a `width` x `height` target whose centres can lie strictly inside `box`, with
// one pixel of rounding on each side, clipped to the target.
PixelBox pixelsCovering(UvBox box, int width, int height);
