// The red quad words and the hand filter that reads them: each word's footprint, wrapping round
// the edges, and the hand filter against a filtered read of the same repeating picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "render/red_quads.h"
#include "render/render_targets.h"
#include "tests/support/gl_context.h"

TEST(RedQuads, EachWordHoldsItsTexelsFootprintWrappingRoundTheEdges) {
  // Three by two texels of four channels; red = 10 x + 100 y + 1.
  std::vector<unsigned char> pixels;
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) pixels.insert(pixels.end(), {static_cast<unsigned char>(10 * x + 100 * y + 1), 7, 7, 7});
  const std::vector<uint32_t> words = redNeighbourQuads(pixels.data(), 3, 2, 4);
  ASSERT_EQ(words.size(), 6u);
  EXPECT_EQ(words[0], 1u | 11u << 8 | 101u << 16 | 111u << 24);
  EXPECT_EQ(words[5], 121u | 101u << 8 | 21u << 16 | 1u << 24) << "the last texel's right and upper neighbours wrap";
  EXPECT_TRUE(redNeighbourQuads(pixels.data(), 3, 2, 1).empty()) << "a grey picture has no red";
}

class RedQuadFilter : public GlTest {};

TEST_F(RedQuadFilter, FollowsTheFilteredReadOfTheRepeatingPictureWithinALevel) {
  const int side = 8;
  std::vector<unsigned char> pixels(side * side * 4, 255);
  for (int i = 0; i < side * side; ++i) pixels[i * 4] = static_cast<unsigned char>((i * 97 + 13) % 251);
  GLuint picture = 0;
  glGenTextures(1, &picture);
  glBindTexture(GL_TEXTURE_2D, picture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, side, side, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  const GLuint quads = createRedQuadTexture(pixels.data(), side, side, 4);
  // Positions from 0.4 of the picture before it to 0.4 past it, off the texel grid.
  const GLuint program = buildTestProgram(R"(#version 330 core
uniform sampler2D picture;
uniform usampler2D quads;
out vec4 fragColor;
#include "./shaders/lib/red_quad_filter.glsl"
void main()
{
    vec2 uv = gl_FragCoord.xy / 32.0 * 1.8 - 0.4 + 0.0013;
    float byHand = quadFilteredRed(quads, textureSize(quads, 0), uv);
    fragColor = vec4(255.0 * abs(byHand - texture(picture, uv).r), byHand, 0.0, 1.0);
})");
  const TestTarget target = makeTestTarget(32, 32, GL_RGBA32F);
  glUseProgram(program);
  setSampler(program, "picture", picture);
  setSampler(program, "quads", quads);
  drawOverTarget(program, target);
  const std::vector<float> read = readTargetFloats(target);
  float worst = 0.0f, brightest = 0.0f;
  for (size_t i = 0; i < read.size(); i += 4) {
    worst = std::max(worst, std::isnan(read[i]) ? INFINITY : read[i]);
    brightest = std::max(brightest, read[i + 1]);
  }
  EXPECT_LE(worst, 1.0f + 1e-3f) << "levels apart at worst";
  EXPECT_GT(brightest, 0.5f) << "the hand filter read the picture";
  const GLuint names[] = {picture, quads, target.texture};
  glDeleteTextures(3, names);
  glDeleteFramebuffers(1, &target.framebuffer);
  glDeleteProgram(program);
}
