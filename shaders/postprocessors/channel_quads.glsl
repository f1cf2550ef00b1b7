#version 330 core
// Quad words of one 8-bit channel of a texture, the first half of a hand-filtered read
// (quad_filter.glsl): texel (x, y) gets the channel's bytes of (x, y), (x + 1, y), (x, y + 1)
// and (x + 1, y + 1), lowest byte first, the neighbours past the last column and row either
// wrapping round (a repeating texture) or standing in for themselves (one clamped to its
// edge). updateChannelQuads sets the channel and the edge rule for every draw.
uniform sampler2D renderTexture;
uniform int quadChannel;
uniform bool repeatEdges;
out uint quadWord;

uint channelByte(ivec2 texel, ivec2 size)
{
    ivec2 t = repeatEdges ? texel % size : min(texel, size - 1);
    return uint(round(texelFetch(renderTexture, t, 0)[quadChannel] * 255.0));
}

void main()
{
    ivec2 size = textureSize(renderTexture, 0);
    ivec2 t = ivec2(gl_FragCoord.xy);
    quadWord = channelByte(t, size) | channelByte(t + ivec2(1, 0), size) << 8 | channelByte(t + ivec2(0, 1), size) << 16 |
               channelByte(t + ivec2(1, 1), size) << 24;
}
