// A filtered read of one 8-bit channel done by hand from its quad words: texel (x, y) of a
// GL_R32UI texture holds the channel's bytes of (x, y), (x + 1, y), (x, y + 1) and
// (x + 1, y + 1), lowest byte first (channel_quads.glsl packs them). It filters as the
// software rasteriser filters an 8-bit texture: the position in 1/256 texels rounded to even,
// half a texel back, 8-bit weights, each blend rounded to 8 bits. So it gives what a filtered
// read gives, bit for bit there and within a level of it on other hardware, with one texel
// fetch where a filtered read takes four.
// Provides: quadFilteredRepeat (a repeating texture whose sides are powers of two, so the wrap
// is a mask), quadFilteredClamped (a texture clamped to its edge), quadFilteredInside (a read
// between texel centres, where clamping changes nothing). All take `size`, the quads'
// textureSize, so a caller that reads many times works it out once.

// a + w (b - a) / 256 for 8-bit values and an 8-bit weight, rounded to the nearest.
int blendBytes(int w, int a, int b)
{
    return a + ((w * (b - a) + 128) >> 8);
}

// The word's four bytes blended by the weights w (x, then y), as a value from 0 to 1.
float blendQuad(uint quad, ivec2 w)
{
    int low = blendBytes(w.x, int(quad & 255u), int((quad >> 8) & 255u));
    int high = blendBytes(w.x, int((quad >> 16) & 255u), int(quad >> 24));
    return float(blendBytes(w.y, low, high)) * (1.0 / 255.0);
}

// The footprint's first texel and weights in 1/256 texels, for the texel coordinate uv.
ivec2 quadPosition(ivec2 size, vec2 uv)
{
    return ivec2(roundEven(uv * vec2(size * 256))) - 128;
}

float quadFilteredRepeat(usampler2D quads, ivec2 size, vec2 uv)
{
    ivec2 position = quadPosition(size, uv);
    return blendQuad(texelFetch(quads, (position >> 8) & (size - 1), 0).r, position & 255);
}

// Past the last texel the footprint is the last texel twice, as its word holds it; before the
// first it is the first texel twice, so the second gets no weight there.
float quadFilteredClamped(usampler2D quads, ivec2 size, vec2 uv)
{
    ivec2 position = quadPosition(size, uv);
    ivec2 texel = position >> 8;
    ivec2 w = ivec2(texel.x < 0 ? 0 : position.x & 255, texel.y < 0 ? 0 : position.y & 255);
    return blendQuad(texelFetch(quads, clamp(texel, ivec2(0), size - 1), 0).r, w);
}

// For uv between the first and the last texel centres on both axes (a read along a line between
// two pixel centres, say): the footprint never leaves the texture, so nothing is clamped.
float quadFilteredInside(usampler2D quads, ivec2 size, vec2 uv)
{
    ivec2 position = quadPosition(size, uv);
    return blendQuad(texelFetch(quads, position >> 8, 0).r, position & 255);
}
