// GL test support: one hidden SDL window with an OpenGL 3.3 core context per test process
// (compatibility profile as fallback), GLEW initialised, plus small render targets, full-screen
// draws, pixel read-back, texture upload and stdout capture. Run GL tests under Xvfb.
// Does NOT close the context: it lives until the test process ends.
#pragma once
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Opens the window and context once; later calls return the first result. Prints why on failure.
bool openTestGlContext();

// Fixture for GL tests: every test fails at once when no context can be opened.
class GlTest : public ::testing::Test {
 protected:
  void SetUp() override;
};

// An offscreen colour target: GL_RGBA8 by default, GL_RGBA32F for exact float read-back.
struct TestTarget {
  GLuint framebuffer = 0;
  GLuint texture = 0;
  int width = 0;
  int height = 0;
};
TestTarget makeTestTarget(int width, int height, GLenum internalFormat = GL_RGBA8);

// Binds `programId` and draws the screen quad over the whole target (viewport = target size,
// no blending, no depth test). Set uniforms after glUseProgram and before this call.
void drawOverTarget(GLuint programId, const TestTarget& target);

// Builds a program from the screen-quad vertex shader and `fragmentSource` (includes expanded
// from the embedded copies); returns its GL name.
GLuint buildTestProgram(const std::string& fragmentSource);

// RGBA pixels of the target, rows bottom first (GL order), 4 values per pixel.
std::vector<uint8_t> readTargetBytes(const TestTarget& target);
std::vector<float> readTargetFloats(const TestTarget& target);
// One pixel of a read-back: x from the left, y from the bottom.
template <typename T>
std::array<T, 4> pixelAt(const std::vector<T>& rgba, const TestTarget& target, int x, int y) {
  const size_t at = (static_cast<size_t>(y) * target.width + x) * 4;
  return {rgba[at], rgba[at + 1], rgba[at + 2], rgba[at + 3]};
}

// 2D textures from CPU data, rows bottom first, nearest filters, clamped to edge.
GLuint uploadTestTextureFloat(int width, int height, const float* rgba);

// A parameter of the 2D texture bound now, and of its level 0.
GLint texParameter(GLenum name);
GLint levelParameter(GLenum name);

// Everything `action` prints to standard output (printf and std::cout alike).
std::string captureStdout(const std::function<void()>& action);
