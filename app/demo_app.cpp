// Start-up, main loop and shut-down of the live demo.
#include "app/demo_app.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "app/banner.h"
#include "app/display.h"
#include "app/options.h"
#include "app/stop_request.h"
#include "render/shared_uniforms.h"
#include "scenes/demo_frame.h"
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

// One line when the output device stopped pulling and the song clock went over to the wall clock.
void reportClockFallback(bool& reported, float t) {
  if (reported || !audioChannelOnWallClock(musicStream)) return;
  reported = true;
  std::cout << "Audio output stopped at " << t << " s, the song clock goes on by the wall clock" << "\n";
  std::fflush(stdout);
}

// One line when a track shorter than the run ends: the clock goes on through silence (the
// audio layer keeps counting), so every part still plays and the run ends at its usual time.
void reportTrackEnd(bool& reported, float t, double trackLength) {
  if (reported || t <= trackLength) return;
  reported = true;
  std::cout << "Music ended at " << static_cast<float>(trackLength) << " s, the demo plays on in silence" << "\n";
  std::fflush(stdout);
}

void runLoop() {
  bool quit = false;
  bool musicRunning = true;
  bool clockFallbackReported = false;
  bool trackEndReported = false;
  const double trackLength = audioChannelBytes2Seconds(musicStream, audioChannelGetLength(musicStream, audioPosByte));
  do {
    if (drainEvents() || stopRequested()) quit = true;
    readMouse();
    const float t = readSongPosition();
    reportClockFallback(clockFallbackReported, t);
    reportTrackEnd(trackEndReported, t, trackLength);
    if (!drawDemoFrame(t) && musicRunning) {
      musicRunning = false;
      audioChannelPause(musicStream);
      quit = true;
    }
    SDL_GL_SwapWindow(window);
  } while (!quit);
}

void shutDown() {
  const bool audioClosed = audioFree();
  shutDownDisplay(audioClosed);
  // A wedged audio thread cannot be joined, and exit()'s clean-up would wait on it too (it may
  // hold a stream that exit flushes); with the console flushed the process ends at once.
  if (!audioClosed) {
    std::fflush(stdout);
    std::_Exit(0);
  }
}

}  // namespace

int runDemo(int argc, const char* const* argv) {
  // Ctrl-C, SIGTERM and a hang-up end the run as Escape does (status 0, as every run ends).
  installStopHandlers({0, ""});
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
