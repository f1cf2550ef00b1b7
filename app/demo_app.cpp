// Start-up, main loop and shut-down of the live demo.
#include "app/demo_app.h"

#include <SDL2/SDL.h>

#include <csignal>
#include <cstdio>

#include "app/banner.h"
#include "app/display.h"
#include "app/options.h"
#include "render/shared_uniforms.h"
#include "scenes/frame_step_render.h"
#include "timeline/audio.h"
#include "timeline/beat_sync.h"
#include "timeline/demo_parts.h"
#include "timeline/demo_state.h"
#include "timeline/music.h"

namespace {

// The held left button reports the window centre (half the window size, truncated),
// computed once the window size is known.
struct MouseCentre {
  int x = 0;
  int y = 0;
} mouseCentre;

void setStartDefaults() {
  sharedUniforms.dof1 = 3.0f;
  sharedUniforms.dof2 = 9.0f;
  sharedUniforms.activeDemoPart = 0;
  sharedUniforms.dof3 = 15.0f;
  sharedUniforms.apply_dof = true;
}

// Window close and Escape end the run; every other event is ignored.
bool drainEvents() {
  bool quit = false;
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    if (event.type == SDL_QUIT) quit = true;
    if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE) quit = true;
  }
  return quit;
}

void readMouse() {
  const bool leftHeld = (SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON(SDL_BUTTON_LEFT)) != 0;
  sharedUniforms.mouse = leftHeld ? std::array<float, 2>{static_cast<float>(mouseCentre.x), static_cast<float>(mouseCentre.y)}
                                  : std::array<float, 2>{-1.0f, -1.0f};
}

void runLoop() {
  bool quit = false;
  bool musicRunning = true;
  do {
    const float t = readSongPosition();
    advanceDemoPart(t);
    if (t > demoEndTime && musicRunning) {
      musicRunning = false;
      audioChannelPause(musicStream);
      quit = true;
    }
    if (drainEvents()) quit = true;
    readMouse();
    frameStep();
    SDL_GL_SwapWindow(window);
  } while (!quit);
}

void shutDown() {
  audioFree();
  shutDownDisplay();
}

}  // namespace

int runDemo(int argc, const char* const* argv) {
  // SIGTERM and Ctrl-C arrive as SDL_QUIT once SDL is up; before that they end the process.
  printStartBanner();
  setStartDefaults();
  buildBeatSyncList();
  std::printf("Registered\n");
  registerBeatSyncCallback(beatSyncHandler);
  buildDemoTimeline();
  parseCommandLine(argc, argv);
  if (!initDisplay()) {
    std::printf("Failed to initialize!\n");
    shutDown();
    return 0;
  }
  mouseCentre = {settings.windowWidth / 2, settings.windowHeight / 2};
  SDL_ShowCursor(SDL_DISABLE);
  createFrameResources();
  if (!loadMusic()) return 0;
  seekMusic(0.0f);
  enterPresentationMode();
  audioChannelPlay(musicStream, false);
  std::fflush(stdout);
  runLoop();
  shutDown();
  return 0;
}
