// SDL video, window, context, GLEW and vsync bring-up.
#include "app/display.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "app/display_lost.h"
#include "app/options.h"
#include "render/display_settings.h"
#include "scenes/scene_set.h"

SDL_Window* window = nullptr;
SDL_GLContext glContext = nullptr;

namespace {

void printDisplayMode(const char* widthLabel, const char* heightLabel) {
  SDL_DisplayMode mode{};
  SDL_GetCurrentDisplayMode(0, &mode);
  std::cout << widthLabel << mode.w << heightLabel << mode.h << "\n";
}

bool createWindowAndContext(bool hidden) {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | (hidden ? SDL_WINDOW_HIDDEN : 0);
  window = SDL_CreateWindow("zELMORa - tARVIk", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                            settings.windowWidth, settings.windowHeight, flags);
  if (!window) {
    std::printf("Window could not be created! SDL Error: %s\n", SDL_GetError());
    return false;
  }
  glContext = SDL_GL_CreateContext(window);
  if (!glContext) {
    std::printf("OpenGL context could not be created! SDL Error: %s\n", SDL_GetError());
    return false;
  }
  return true;
}

// A size chosen before the display came up (the offline renderer's output size) is kept.
void setWindowSize(const SDL_DisplayMode& mode) {
  if (settings.windowWidth > 0 && settings.windowHeight > 0) return;
  if (settings.windowed) {
    const SizeWH size = windowedSizeForQuality(settings.quality);
    settings.windowWidth = size.width;
    settings.windowHeight = size.height;
  } else {
    settings.windowWidth = mode.w;
    settings.windowHeight = mode.h;
  }
}

// Whether SDL_VIDEODRIVER names `driver` (SDL takes a comma-separated list, in any case).
bool userAskedFor(const char* driver) {
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  if (!asked) return false;
  const std::string list = asked;
  for (size_t at = 0; at <= list.size();) {
    const size_t comma = std::min(list.find(',', at), list.size());
    if (SDL_strcasecmp(list.substr(at, comma - at).c_str(), driver) == 0) return true;
    at = comma + 1;
  }
  return false;
}

// Without a display SDL falls back to drivers that draw nowhere; playing the whole demo
// into them shows the user nothing, so the demo takes one only when asked for it by name.
bool refuseInvisibleDriver() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0)) return false;
  if (userAskedFor(driver)) return false;
  SDL_SetError("no display found, only the %s video driver (which shows nothing) started; "
               "set SDL_VIDEODRIVER=%s to run without a window", driver, driver);
  return true;
}

}  // namespace

bool openDisplay(bool hidden) {
  if (SDL_Init(SDL_INIT_VIDEO) < 0 || (!hidden && refuseInvisibleDriver())) {
    std::printf("SDL could not initialize! SDL Error: %s\n", SDL_GetError());
    return false;
  }
  SDL_DisplayMode mode{};
  SDL_GetCurrentDisplayMode(0, &mode);
  std::cout << " sw:" << mode.w << " sh:" << mode.h << "\n";
  setWindowSize(mode);
  if (!createWindowAndContext(hidden)) return false;
  // The offline renderer keeps Xlib's own handling: one line and a failing status.
  if (!hidden) watchDisplayConnection();
  glewExperimental = GL_TRUE;
  if (const GLenum error = glewInit(); error != GLEW_OK)
    std::printf("Error initializing GLEW! %s\n", reinterpret_cast<const char*>(glewGetErrorString(error)));
  if (SDL_GL_SetSwapInterval(1) < 0) std::printf("Warning: Unable to set VSync! SDL Error: %s\n", SDL_GetError());
  // The window gets an SDL renderer that nothing draws with and whose failure is ignored; an
  // OpenGL-backed renderer makes its own context current, so ours is made current again.
  SDL_CreateRenderer(window, -1, 0);
  SDL_GL_MakeCurrent(window, glContext);
  return true;
}

bool initDisplay(bool hidden) {
  if (!openDisplay(hidden)) return false;
  if (!loadScenes()) {
    std::printf("Unable to initialize OpenGL!\n");
    return false;
  }
  return true;
}

void enterPresentationMode() {
  if (!settings.windowed) {
    std::printf("FULLSCREEN\n");
    SDL_SetWindowFullscreen(window, SDL_GetWindowFlags(window) ^ SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_SetWindowBordered(window, SDL_FALSE);
    SDL_SetHint("SDL_RENDER_SCALE_QUALITY", "linear");
  } else {
    std::printf("WINDOWED\n");
  }
  printDisplayMode(" sw2:", " sh2:");
}

void shutDownDisplay(bool quitAudio) {
  if (window) SDL_DestroyWindow(window);
  window = nullptr;
  if (quitAudio) SDL_Quit();
  else SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
