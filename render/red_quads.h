// The red channel of an 8-bit picture regrouped for a filtered read by hand: each texel's word
// holds the red bytes of the 2 x 2 texels that a bilinear read just past its centre blends, so a
// shader fetches the whole footprint at once instead of four texels.
// Owns: redNeighbourQuads, the arithmetic of the words. Does NOT touch GL
// (render_targets uploads the words; a shader unpacks them).
#pragma once
#include <cstdint>
#include <vector>

// Word of texel (x, y), lowest byte first: the red of (x, y), (x + 1, y), (x, y + 1) and
// (x + 1, y + 1), the neighbours wrapping round the edges as a repeating texture does. `pixels`
// holds `width` x `height` texels of `channels` bytes each, red first, rows in upload order;
// pictures of fewer than three channels have no red and give no words.
std::vector<uint32_t> redNeighbourQuads(const unsigned char* pixels, int width, int height, int channels);
