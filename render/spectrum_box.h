// The pixels a draw of a box on the picture must cover (the spectrum box's, whose place the
// vumeters pass holds as its `spectrumBox` uniform). Owns: that arithmetic. Does NOT touch GL:
// the pass chain reads the box back, copies the rest of the picture and scissors the draw.
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
