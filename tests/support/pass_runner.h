// Running one post-processing pass the way a scene does, on tiny targets: its embedded text
// built with the screen-quad vertex stage, the shared uniforms uploaded for a render size equal
// to the target, `renderTexture` bound by the texture-unit rule, then the pass's own values.
// Does NOT chain passes; each run builds, draws, reads back and deletes its program and target.
#pragma once
#include <GL/glew.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/cpu_image.h"
#include "tests/support/gl_context.h"

using PassUniforms = std::function<void(GLuint programId)>;

// Fixture for pass tests: clears the shared values and fades before each test, deletes the
// textures made through it afterwards.
class PassTest : public GlTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  GLuint texture(const CpuImage& image, GLenum filter = GL_NEAREST);
  GLuint soundTexture(const std::vector<float>& spectrum512);

 private:
  std::vector<GLuint> textures_;
};

// The pass at `path` over `input` into a width x height target of `format` (GL_RGBA32F reads
// back exactly, GL_RGBA8 clamps like the demo's targets); the floats read back.
std::vector<float> runPass(const std::string& path, GLuint input, int width, int height,
                           const PassUniforms& extra = {}, GLenum format = GL_RGBA32F);

void setUniform(GLuint programId, const char* name, float value);
void setUniform(GLuint programId, const char* name, float x, float y);

// Per-pixel comparison of a read-back with a reference: fails with the worst pixel.
void expectImageNear(const std::vector<float>& actual, const CpuImage& expected, float tolerance);
// Largest absolute channel difference over rgb.
float maxRgbDifference(const std::vector<float>& actual, const CpuImage& expected);
