// The studio: the demo played through the same frame step, scenes and audio layer as the demo
// itself, with its own keys, a timeline strip to click on, every program rebuilt from
// ./shaders/ when a file it read is saved, and per-pass GPU times over the picture. It pauses
// at the end point instead of quitting.
// Owns: the start-up and shut-down order, the frame loop and the routing of events and keys to
// its parts: the transport (studio/playback), the live programs, the picture and the captures,
// which share one status line. Does NOT carry out the actions: its parts do.
// Writes settings.windowWidth/windowHeight when the window is resized.
#pragma once
#include <SDL2/SDL_events.h>

#include <cstdint>
#include <string>
#include <vector>

#include "studio/captures.h"
#include "studio/keys.h"
#include "studio/live_programs.h"
#include "studio/options.h"
#include "studio/picture.h"
#include "studio/playback.h"
#include "studio/status_line.h"

class StudioSession {
 public:
  explicit StudioSession(const StudioOptions& options);
  StudioSession(const StudioSession&) = delete;
  StudioSession& operator=(const StudioSession&) = delete;

  // Timeline, window, scenes, resources, music, a first rebuild of every program from
  // ./shaders/, then playback from the start time. False after printing why.
  bool start();
  // One pass of the loop: events, file poll, clock, frame (or the kept picture while paused),
  // overlay, swap. False once the user quit.
  bool runFrame();
  void shutDown();

  // Checks ./shaders/ now instead of at the next poll time.
  void pollShaderFiles();
  void apply(const StudioAction& action);
  // A click at window pixel (x, y): seeks when it is on the timeline strip. False when it is not.
  bool clickAt(int x, int y);

  float songTime() const { return playback_.songTime(); }
  bool paused() const { return playback_.paused(); }
  int partIndex() const;
  const LoopState& loop() const { return playback_.loop(); }
  // The demo's picture of the latest drawn frame, without the overlay (RGBA, top row first).
  std::vector<uint8_t> picture() const { return picture_.shown().readPixels(); }
  const std::string& status() const { return status_.text(); }
  bool statusIsError() const { return status_.isError(); }

 private:
  void applySettings();
  void handleEvents();
  void handleEvent(const SDL_Event& event);
  void handleMouse(const SDL_Event& event);

  StudioOptions options_;
  StatusLine status_;
  Playback playback_{status_};
  LivePrograms programs_{status_};
  StudioPicture picture_;
  StudioCaptures captures_{options_, status_};
  bool started_ = false;
  bool quit_ = false;
  bool dragging_ = false;
};
