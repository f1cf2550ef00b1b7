// Quad words and the hand filter that reads them, against filtered reads of the same picture:
// the red of a repeating texture (the intro's rock) and the alpha of one clamped to its edge
// (the light shafts' mask), sampled before, across and past the picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "render/channel_quads.h"
#include "render/embedded_shaders.h"
#include "render/post_pass_files.h"
#include "render/render_targets.h"
#include "render/screen_quad.h"
#include "render/shader_program.h"
#include "tests/support/gl_context.h"

// Draws `probe` (a fragment shader reading `picture`, the test picture, and `quads`, its words)
// over a 32 x 32 float target and returns the target's pixels.
std::vector<float> probeQuads(const char* probe, bool repeating) {
  const int side = 8;
  std::vector<unsigned char> pixels(side * side * 4);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>((i * 97 + 13) % 251);
  const ShaderProgram quadsPass(false, screenQuadVertexSource(), *findEmbeddedShader(channelQuadsPassPath), "");
  const ScreenQuad quad = createScreenQuad();
  const GLuint program = buildTestProgram(probe);
  GLuint picture = 0;
  glGenTextures(1, &picture);
  glBindTexture(GL_TEXTURE_2D, picture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, side, side, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  const GLint wrap = repeating ? GL_REPEAT : GL_CLAMP_TO_EDGE;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
  ChannelQuads words;
  updateChannelQuads(words, quadsPass, quad, picture, repeating ? 0 : 3, repeating);
  const TestTarget target = makeTestTarget(32, 32, GL_RGBA32F);
  glUseProgram(program);
  setSampler(program, "picture", picture);
  setSampler(program, "quads", words.texture);
  glUniform1i(glGetUniformLocation(program, "repeating"), repeating ? 1 : 0);
  drawOverTarget(program, target);
  const std::vector<float> read = readTargetFloats(target);
  deleteChannelQuads(words);
  const GLuint names[] = {picture, target.texture};
  glDeleteTextures(2, names);
  glDeleteFramebuffers(1, &target.framebuffer);
  glDeleteProgram(program);
  return read;
}

class ChannelQuadFilter : public GlTest {};

TEST_F(ChannelQuadFilter, FollowsTheFilteredReadWithinALevelWrappedOrClamped) {
  const char* probe = R"(#version 330 core
uniform sampler2D picture;
uniform usampler2D quads;
uniform bool repeating;
out vec4 fragColor;
#include "./shaders/lib/quad_filter.glsl"
void main()
{
    vec2 uv = gl_FragCoord.xy / 32.0 * 1.8 - 0.4 + 0.0013;
    ivec2 size = textureSize(quads, 0);
    float byHand = repeating ? quadFilteredRepeat(quads, size, uv) : quadFilteredClamped(quads, size, uv);
    vec4 read = texture(picture, uv);
    fragColor = vec4(255.0 * abs(byHand - (repeating ? read.r : read.a)), byHand, 0.0, 1.0);
})";
  for (const bool repeating : {true, false}) {
    const std::vector<float> read = probeQuads(probe, repeating);
    float worst = 0.0f, brightest = 0.0f;
    for (size_t i = 0; i < read.size(); i += 4) {
      worst = std::max(worst, std::isnan(read[i]) ? INFINITY : read[i]);
      brightest = std::max(brightest, read[i + 1]);
    }
    EXPECT_LE(worst, 1.0f + 1e-3f) << (repeating ? "repeating" : "clamped") << ": levels apart at worst";
    EXPECT_GT(brightest, 0.5f) << "the hand filter read the picture";
  }
}

TEST_F(ChannelQuadFilter, BetweenTheTexelCentresTheUnclampedReadIsTheClampedOne) {
  // From the first texel centre to the last (0.5 / 8 to 7.5 / 8), edges included.
  const std::vector<float> read = probeQuads(R"(#version 330 core
uniform usampler2D quads;
out vec4 fragColor;
#include "./shaders/lib/quad_filter.glsl"
void main()
{
    vec2 uv = 0.0625 + floor(gl_FragCoord.xy) / 31.0 * 0.875;
    ivec2 size = textureSize(quads, 0);
    float inside = quadFilteredInside(quads, size, uv);
    fragColor = vec4(inside, quadFilteredClamped(quads, size, uv), 0.0, 1.0);
})", false);
  float brightest = 0.0f;
  for (size_t i = 0; i < read.size(); i += 4) {
    EXPECT_EQ(read[i], read[i + 1]) << "pixel " << i / 4;
    brightest = std::max(brightest, read[i]);
  }
  EXPECT_GT(brightest, 0.5f) << "the reads saw the picture";
}
