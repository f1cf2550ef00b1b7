// A filtered read of one 8-bit channel done by hand from its quad words (render/red_quads.h:
// texel (x, y) holds the bytes of (x, y), (x + 1, y), (x, y + 1) and (x + 1, y + 1)), as the
// software rasteriser filters an 8-bit texture that repeats: the position in 1/256 texels
// rounded to even, half a texel back, 8-bit weights, each blend rounded to 8 bits. So it gives
// what a filtered read gives, bit for bit there and within a level of it on other hardware,
// with one texel fetch where a filtered read takes four.
// Provides: quadFilteredRed. Expects: quad words whose sides are powers of two (the wrap is a
// mask).

// a + w (b - a) / 256 for 8-bit values and an 8-bit weight, rounded to the nearest.
int blendBytes(int w, int a, int b)
{
    return a + ((w * (b - a) + 128) >> 8);
}

// The channel at uv; `size` is textureSize(quads, 0), passed in so a caller that reads many
// times works it out once.
float quadFilteredRed(usampler2D quads, ivec2 size, vec2 uv)
{
    ivec2 position = ivec2(roundEven(uv * vec2(size * 256))) - 128;
    uint quad = texelFetch(quads, (position >> 8) & (size - 1), 0).r;
    ivec2 w = position & 255;
    int low = blendBytes(w.x, int(quad & 255u), int((quad >> 8) & 255u));
    int high = blendBytes(w.x, int((quad >> 16) & 255u), int(quad >> 24));
    return float(blendBytes(w.y, low, high)) * (1.0 / 255.0);
}
