// The channel offsets of the greetings parts' RGB split: red and green part on every light
// pulse, blue keeps a small constant shift. Does NOT bind the program.
#pragma once
#include <cstdint>

// Sets roffset, goffset and boffset of the RGB split program in use.
void setRgbSplitOffsets(uint32_t programId);
