// The studio: the demo played through the same frame step, scenes and audio layer as the demo
// itself, with its own keys (pause, frame steps, seeks, speed, part jumps, loop, rebuild,
// saving a frame, exporting a video, overlays), a timeline strip to click on, every program
// rebuilt from ./shaders/ when a file it read is saved (keeping the last good build), and
// per-pass GPU times over the picture. It pauses at the end point instead of quitting.
// Owns: the play state (paused, speed, loop, overlays), the watcher, the live program list,
// the export child, the timer ring and the overlay; it installs the build observers and the
// pass timing hook while it lives.
// Writes the demo's process-wide state exactly where the demo's loop and seek do, plus
// settings.windowWidth/windowHeight when the window is resized.
#pragma once
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "studio/keys.h"
#include "studio/loop.h"
#include "studio/options.h"
#include "tooling/pass_names.h"
#include "tooling/timer_ring.h"
#include "studio/programs.h"
#include "studio/video_export.h"
#include "studio/watch.h"
#include "studio/overlay_text.h"
#include "tooling/timer_queries.h"
#include "studio/window_copy.h"

class StudioSession {
 public:
  explicit StudioSession(const StudioOptions& options);
  ~StudioSession();
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
  // A click (or a drag with the button held) at window pixel (x, y): seeks when it is on the
  // timeline strip. False when it is not.
  bool clickAt(int x, int y);

  float songTime() const;
  bool paused() const { return paused_; }
  float speed() const { return speed_; }
  const StudioPrograms& programs() const { return programs_; }
  const VideoExport& videoExport() const { return export_; }
  int partIndex() const;
  const LoopState& loop() const { return loop_; }
  // The demo's picture of the latest drawn frame, without the overlay (RGBA, top row first).
  std::vector<uint8_t> picture() const { return copy_.readPixels(); }
  int pictureWidth() const { return copy_.width(); }
  int pictureHeight() const { return copy_.height(); }
  const std::string& status() const { return status_; }
  bool statusIsError() const { return statusError_; }
  long framesDrawn() const { return framesDrawn_; }
  const TimerRing* timerRing() const { return ring_.get(); }

 private:
  using Clock = std::chrono::steady_clock;

  void installHooks();
  void applySettings();
  void handleEvents();
  void seekTo(float t, bool byUser);
  void togglePause();
  void pause();
  void resume();
  void advanceClock();
  void drawFrame();
  void redrawPaused();
  void drawOverlay();
  void rebuildPrograms(const std::vector<ShaderProgram*>& programs, const std::string& cause);
  std::string ownerOfNewProgram() const;
  void stepFrame(int direction);
  void changeSpeed(bool faster);
  void saveFrame();
  void startExport();
  void pollExport();
  void drawStrip();
  void setStatus(const std::string& text, bool error);
  static void markPassThunk(void* context, PassKind kind, uint32_t programId, bool begin);

  StudioOptions options_;
  StudioPrograms programs_;
  ShaderFolderWatcher watcher_;
  ProgramNames names_;
  GlTimestampQueries queries_;
  std::unique_ptr<TimerRing> ring_;
  OverlayText text_;
  WindowCopy copy_;
  LoopState loop_;
  VideoExport export_;
  std::string exportTarget_;

  bool started_ = false;
  bool quit_ = false;
  bool paused_ = false;
  bool scenesLoaded_ = false;
  bool dragging_ = false;
  float speed_ = 1.0f;
  bool atEnd_ = false;
  float pausedAt_ = 0.0f;
  bool redrawPending_ = true;
  bool showTiming_ = true;
  bool showHelp_ = false;
  std::string status_;
  bool statusError_ = false;
  Clock::time_point statusSince_;
  Clock::time_point lastPoll_;
  Clock::time_point fpsWindowStart_;
  int fpsFrames_ = 0;
  double framesPerSecond_ = 0.0;
  double cpuMilliseconds_ = 0.0;
  long framesDrawn_ = 0;
};
