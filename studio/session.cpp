// The studio's start-up, shut-down, event routing and frame loop.
#include "studio/session.h"

#include <SDL2/SDL.h>

#include <cstdio>

#include "app/display.h"
#include "app/options.h"
#include "render/display_settings.h"
#include "scenes/frame_step_render.h"
#include "timeline/audio.h"
#include "timeline/demo_parts.h"
#include "timeline/demo_state.h"
#include "timeline/music.h"
#include "scenes/tool_setup.h"
#include "tooling/tool_start.h"

StudioSession::StudioSession(const StudioOptions& options) : options_(options) {}

void StudioSession::applySettings() {
  const SizeWH windowed = windowedSizeForQuality(options_.quality);
  applyToolSizes(options_.quality, options_.renderSize, options_.windowWidth ? options_.windowWidth : windowed.width,
                 options_.windowHeight ? options_.windowHeight : windowed.height);
}

bool StudioSession::start() {
  prepareToolTimeline();
  applySettings();
  programs_.installHooks();
  if (!openToolDisplay("tarvik-studio", false)) return false;
  programs_.scenesLoaded();
  SDL_SetWindowTitle(window, "tarvik-studio");
  createFrameResources();
  if (!loadMusic()) return false;
  programs_.rebuildAll("first build from ./shaders/");
  programs_.startWatching();
  picture_.start(programs_.names());
  playback_.playFrom(options_.start);
  std::fflush(stdout);
  started_ = true;
  return true;
}

void StudioSession::shutDown() {
  captures_.stop();
  programs_.removeHooks();
  picture_.stop();
  audioFree();
  shutDownDisplay();
  started_ = false;
}

int StudioSession::partIndex() const { return demoState.currentPartIndex; }

void StudioSession::pollShaderFiles() {
  if (programs_.poll()) picture_.requestRedraw();
}

void StudioSession::apply(const StudioAction& action) {
  if (playback_.apply(action)) return;
  switch (action.command) {
    case StudioCommand::SaveFrame: captures_.saveFrame(picture_.shown(), songTime()); break;
    case StudioCommand::ExportVideo: captures_.startExport(exportRange(loop(), songTime(), demoTimeline)); break;
    case StudioCommand::ReloadAll:
      programs_.rebuildAll("R");
      picture_.requestRedraw();
      break;
    case StudioCommand::ToggleTiming: picture_.toggleTiming(); break;
    case StudioCommand::ToggleHelp: picture_.toggleHelp(); break;
    case StudioCommand::Quit: quit_ = true; break;
    default: break;
  }
}

bool StudioSession::clickAt(int x, int y) {
  const std::optional<float> t = picture_.stripTimeAt(x, y);
  if (t) playback_.seekTo(*t, true);
  return t.has_value();
}

void StudioSession::handleEvents() {
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) handleEvent(event);
}

void StudioSession::handleEvent(const SDL_Event& event) {
  if (event.type == SDL_QUIT) quit_ = true;
  if (event.type == SDL_KEYDOWN)
    apply(actionForKey(event.key.keysym.sym, event.key.keysym.mod, event.key.repeat != 0));
  handleMouse(event);
  if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED &&
      event.window.data1 > 0 && event.window.data2 > 0) {
    settings.windowWidth = event.window.data1;
    settings.windowHeight = event.window.data2;
    picture_.requestRedraw();
  }
}

// A drag that began on the strip follows the mouse's x wherever it goes; the capture keeps the
// motion coming while the mouse is outside the window, so a drag off either edge reaches 0 or
// the end point.
void StudioSession::handleMouse(const SDL_Event& event) {
  if (event.type == SDL_MOUSEBUTTONDOWN && event.button.button == SDL_BUTTON_LEFT) {
    dragging_ = clickAt(event.button.x, event.button.y);
    if (dragging_) SDL_CaptureMouse(SDL_TRUE);
  }
  if (event.type == SDL_MOUSEMOTION && dragging_ && (event.motion.state & SDL_BUTTON_LMASK))
    playback_.seekTo(picture_.dragTimeAt(event.motion.x), true);
  if (event.type == SDL_MOUSEBUTTONUP && event.button.button == SDL_BUTTON_LEFT && dragging_) {
    dragging_ = false;
    SDL_CaptureMouse(SDL_FALSE);
  }
}

bool StudioSession::runFrame() {
  if (!started_) return false;
  const auto frameStart = StudioPicture::Clock::now();
  handleEvents();
  if (programs_.takeWatched()) picture_.requestRedraw();
  captures_.poll();
  playback_.advanceClock();
  if (playback_.takeMoved()) picture_.requestRedraw();
  picture_.draw(playback_.paused());
  TimingView view = playback_.view();
  view.exportProgress = captures_.progress();
  picture_.drawOverlay(view, status_);
  picture_.present(frameStart);
  return !quit_;
}
