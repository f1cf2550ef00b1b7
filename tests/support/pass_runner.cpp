// One pass per run: build from the embedded text, upload, draw, read back, clean up.
#include "tests/support/pass_runner.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "render/display_settings.h"
#include "render/embedded_shaders.h"
#include "render/render_targets.h"
#include "render/screen_quad.h"
#include "render/shader_program.h"
#include "render/shared_uniforms.h"
#include "timeline/fades.h"

void PassTest::SetUp() {
  GlTest::SetUp();
  sharedUniforms = SharedUniforms{};
  fades = FadeRecords{};
}

void PassTest::TearDown() {
  if (!textures_.empty()) glDeleteTextures(static_cast<GLsizei>(textures_.size()), textures_.data());
  textures_.clear();
}

GLuint PassTest::texture(const CpuImage& image, GLenum filter) {
  const GLuint name = uploadTestTextureFloat(image.width, image.height, image.rgba.data());
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(filter));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(filter));
  textures_.push_back(name);
  return name;
}

GLuint PassTest::soundTexture(const std::vector<float>& spectrum512) {
  const GLuint name = createSoundTexture(spectrum512.data());
  textures_.push_back(name);
  return name;
}

std::vector<float> runPass(const std::string& path, GLuint input, int width, int height, const PassUniforms& extra,
                           GLenum format) {
  const std::string* text = findEmbeddedShader(path);
  if (!text) {
    ADD_FAILURE() << "no embedded pass " << path;
    return std::vector<float>(static_cast<size_t>(width) * height * 4, NAN);
  }
  ShaderProgram program(false, screenQuadVertexSource(), *text, "");
  const TestTarget target = makeTestTarget(width, height, format);
  settings.renderWidth = width;
  settings.renderHeight = height;
  glUseProgram(program.programId);
  uploadSharedUniforms(program);
  setSampler(program, "renderTexture", input);
  setUniform(program.programId, "time", sharedUniforms.songPosition);
  if (extra) extra(program.programId);
  drawOverTarget(program.programId, target);
  std::vector<float> pixels = readTargetFloats(target);
  glDeleteFramebuffers(1, &target.framebuffer);
  glDeleteTextures(1, &target.texture);
  glDeleteProgram(program.programId);
  return pixels;
}

void setUniform(GLuint programId, const char* name, float value) {
  glUniform1f(glGetUniformLocation(programId, name), value);
}

void setUniform(GLuint programId, const char* name, float x, float y) {
  glUniform2f(glGetUniformLocation(programId, name), x, y);
}

void expectImageNear(const std::vector<float>& actual, const CpuImage& expected, float tolerance) {
  ASSERT_EQ(actual.size(), expected.rgba.size());
  auto off = [&](size_t i) { return std::isnan(actual[i]) ? INFINITY : std::fabs(actual[i] - expected.rgba[i]); };
  size_t worst = 0;
  int bad = 0;
  for (size_t i = 0; i < actual.size(); ++i) {
    bad += off(i) > tolerance;
    if (off(i) > off(worst)) worst = i;
  }
  const size_t pixel = worst / 4;
  EXPECT_EQ(bad, 0) << "channels off by more than " << tolerance << "; worst at (" << pixel % expected.width << ", "
                    << pixel / expected.width << ") channel " << worst % 4 << ": got " << actual[worst]
                    << ", expected " << expected.rgba[worst];
}

float maxRgbDifference(const std::vector<float>& actual, const CpuImage& expected) {
  float worst = 0.0f;
  for (size_t i = 0; i < actual.size() && i < expected.rgba.size(); ++i)
    if (i % 4 != 3) worst = std::max(worst, std::fabs(actual[i] - expected.rgba[i]));
  return worst;
}
