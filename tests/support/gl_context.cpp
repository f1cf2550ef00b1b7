// Hidden-window GL context and read-back helpers for GL tests.
#include "tests/support/gl_context.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "render/screen_quad.h"
#include "render/shader_program.h"

namespace {

SDL_Window* tryWindow(int profile, int major, int minor) {
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, profile);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, major);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, minor);
  SDL_Window* window = SDL_CreateWindow("gl test", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 64, 64,
                                        SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!window) return nullptr;
  if (SDL_GL_CreateContext(window)) return window;
  SDL_DestroyWindow(window);
  return nullptr;
}

bool openContextOnce() {
  // With a display, only X11 will do: SDL would otherwise fall back to its offscreen driver,
  // whose EGL context GLEW cannot load, and the test would fail far from the cause.
  if (std::getenv("DISPLAY")) SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::printf("GL test: SDL_Init failed: %s\n", SDL_GetError());
    return false;
  }
  if (!tryWindow(SDL_GL_CONTEXT_PROFILE_CORE, 3, 3) && !tryWindow(SDL_GL_CONTEXT_PROFILE_COMPATIBILITY, 2, 1)) {
    std::printf("GL test: no GL context: %s\n", SDL_GetError());
    return false;
  }
  glewExperimental = GL_TRUE;
  const GLenum status = glewInit();
  if (status != GLEW_OK) {
    std::printf("GL test: glewInit failed: %s\n", reinterpret_cast<const char*>(glewGetErrorString(status)));
    return false;
  }
  while (glGetError() != GL_NO_ERROR) {
  }
  return true;
}

const ScreenQuad& testQuad() {
  static const ScreenQuad quad = createScreenQuad();
  return quad;
}

GLuint uploadTexture(int width, int height, GLenum internalFormat, GLenum type, const void* data) {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, GL_RGBA, type, data);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  return texture;
}

template <typename T>
std::vector<T> readTarget(const TestTarget& target, GLenum type) {
  std::vector<T> pixels(static_cast<size_t>(target.width) * target.height * 4);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, target.framebuffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, target.width, target.height, GL_RGBA, type, pixels.data());
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  return pixels;
}

}  // namespace

// A loaded machine can refuse one X connection now and then; a fresh try a moment later serves.
bool openContextWithRetries() {
  for (int attempt = 1; attempt <= 3; ++attempt) {
    if (openContextOnce()) return true;
    std::printf("GL test: attempt %d failed (video driver %s)\n", attempt,
                SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "none");
    SDL_Quit();
    SDL_Delay(500);
  }
  return false;
}

bool openTestGlContext() {
  static const bool opened = openContextWithRetries();
  return opened;
}

void GlTest::SetUp() { ASSERT_TRUE(openTestGlContext()) << "no GL context (run under xvfb-run)"; }

TestTarget makeTestTarget(int width, int height, GLenum internalFormat) {
  TestTarget target{0, 0, width, height};
  const GLenum type = internalFormat == GL_RGBA8 ? GL_UNSIGNED_BYTE : GL_FLOAT;
  target.texture = uploadTexture(width, height, internalFormat, type, nullptr);
  glGenFramebuffers(1, &target.framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target.texture, 0);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  return target;
}

void drawOverTarget(GLuint programId, const TestTarget& target) {
  glUseProgram(programId);
  glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
  glViewport(0, 0, target.width, target.height);
  glDisable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  drawScreenQuad(testQuad());
  glFinish();
}

GLuint buildTestProgram(const std::string& fragmentSource) {
  return ShaderProgram(false, screenQuadVertexSource(), fragmentSource, "").programId;
}

std::vector<uint8_t> readTargetBytes(const TestTarget& target) { return readTarget<uint8_t>(target, GL_UNSIGNED_BYTE); }

std::vector<float> readTargetFloats(const TestTarget& target) { return readTarget<float>(target, GL_FLOAT); }

GLuint uploadTestTextureFloat(int width, int height, const float* rgba) {
  return uploadTexture(width, height, GL_RGBA32F, GL_FLOAT, rgba);
}

GLint texParameter(GLenum name) {
  GLint value = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
  return value;
}

GLint levelParameter(GLenum name) {
  GLint value = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, name, &value);
  return value;
}

std::string captureStdout(const std::function<void()>& action) {
  std::cout.flush();
  std::fflush(stdout);
  ::testing::internal::CaptureStdout();
  action();
  std::cout.flush();
  std::fflush(stdout);
  return ::testing::internal::GetCapturedStdout();
}
