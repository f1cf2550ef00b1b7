// Render targets, the spectrum texture, the private scene target, the own-unit binding rule
// and the screen quad, read back from GL.
#include <gtest/gtest.h>

#include "render/display_settings.h"
#include "render/render_targets.h"
#include "render/screen_quad.h"
#include "tests/support/gl_context.h"

namespace {

GLint boundFramebuffer() {
  GLint value = -1;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &value);
  return value;
}

}  // namespace

class RenderTargets : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    settings.renderWidth = settings.renderHeight = 24;
  }
};

TEST_F(RenderTargets, RenderTextureAndItsFramebufferAtRenderSize) {
  const uint32_t texture = createRenderTexture();
  EXPECT_EQ(levelParameter(GL_TEXTURE_WIDTH), 24);
  EXPECT_EQ(levelParameter(GL_TEXTURE_HEIGHT), 24);
  EXPECT_EQ(texParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
  EXPECT_EQ(texParameter(GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
  const uint32_t framebuffer = createFramebuffer(texture);
  EXPECT_EQ(boundFramebuffer(), 0) << "framebuffer 0 is bound again on return";
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

TEST_F(RenderTargets, SoundTextureIsOneRowOfFloatsOnItsOwnUnit) {
  float bins[512];
  for (int i = 0; i < 512; ++i) bins[i] = i * 0.5f;
  const uint32_t texture = createSoundTexture(bins);
  GLint unit = 0;
  glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
  EXPECT_EQ(unit, static_cast<GLint>(GL_TEXTURE0 + texture));
  EXPECT_EQ(levelParameter(GL_TEXTURE_INTERNAL_FORMAT), GL_R32F);
  EXPECT_EQ(levelParameter(GL_TEXTURE_WIDTH), 512);
  EXPECT_EQ(levelParameter(GL_TEXTURE_HEIGHT), 1);
  EXPECT_EQ(texParameter(GL_TEXTURE_MAG_FILTER), GL_NEAREST);
  std::vector<float> back(512);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RED, GL_FLOAT, back.data());
  EXPECT_FLOAT_EQ(back[511], 255.5f) << "values above 1 survive: the texture is float";
  glActiveTexture(GL_TEXTURE0);
}

TEST_F(RenderTargets, SceneTargetPrintsItsSize) {
  EXPECT_EQ(captureStdout([] { createSceneFramebuffer(); }), "CreateFrameBuffer: w:24 h:24\n");
}

TEST_F(RenderTargets, QuadCoversTheTargetWithCoordinatesFromTheBottomLeft) {
  const GLuint program = buildTestProgram(
      "#version 330 core\nin vec2 TexCoords;\nout vec4 color;\nvoid main() { color = vec4(TexCoords, 1.0, 1.0); }\n");
  const TestTarget target = makeTestTarget(16, 16, GL_RGBA32F);
  drawOverTarget(program, target);
  const std::vector<float> pixels = readTargetFloats(target);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(pixelAt(pixels, target, x, y)[2], 1.0f) << "uncovered pixel " << x << "," << y;
  EXPECT_NEAR(pixelAt(pixels, target, 0, 0)[0], 0.5f / 16, 1e-4f);
  EXPECT_NEAR(pixelAt(pixels, target, 15, 15)[1], 15.5f / 16, 1e-4f);
}
