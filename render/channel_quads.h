// Quad words of one channel of a texture that does not change from frame to frame (the intro's
// rock), made on the GPU by the channel-quads pass and kept until the texture they came from is
// another one. A hand-filtered read (quad_filter.glsl) then takes one fetch where a filtered
// read takes four.
// Owns: the words' GL_R32UI texture and framebuffer, at the source's size. Does NOT own the
// source texture or the pass program, and does NOT notice a source whose texels change under
// the same name.
#pragma once
#include <cstdint>

class ShaderProgram;
struct ScreenQuad;

struct ChannelQuads {
  uint32_t source = 0;  // the texture the words were made from, 0 before the first
  uint32_t texture = 0;
  uint32_t framebuffer = 0;
};

// Makes `quads` hold the words of channel `channel` (0 red .. 3 alpha) of `source`, wrapping
// round its edges when `repeat` and holding its last texels otherwise, unless they already
// come from `source`; draws with `program` (the channel-quads pass) over `quad`. Leaves
// framebuffer 0 bound and the viewport changed. Returns the words' texture.
uint32_t updateChannelQuads(ChannelQuads& quads, const ShaderProgram& program, const ScreenQuad& quad, uint32_t source,
                            int channel, bool repeat);
// Sets the channel-quads pass `programId`, the program in use, to read channel `channel` and to
// wrap round the edges when `repeat`.
void setChannelQuadsRule(uint32_t programId, int channel, bool repeat);
// Deletes the words' texture and framebuffer; `quads` is then as before its first update.
void deleteChannelQuads(ChannelQuads& quads);
