// The channel offsets of the greetings parts' RGB split: red and green part on every light
// pulse, blue keeps a small constant shift. Does NOT bind the program.
#pragma once
#include <cstdint>

// Sideways texture-coordinate shifts of the three channels (blue's goes the other way).
struct RgbSplitOffsets {
  float red;
  float green;
  float blue;
};
RgbSplitOffsets rgbSplitOffsets(float lightPulse);

// Sets roffset, goffset and boffset of the RGB split program in use from the light pulse.
void setRgbSplitOffsets(uint32_t programId);
