// What the studio's window shows: the demo's frame (or, while paused, the kept copy of it,
// drawn again only once it went stale), and over it the timing block with the GPU time of
// every pass, the key help, the status line and the timeline strip; then the swap.
// Owns: the overlay text, the copy of the shown picture, the GL timer ring, the pass timing
// hook from start until stop or its end, the overlay switches, the frame rate and CPU time.
// Does NOT move the clock nor seek: a click on the strip only gives the song time under it.
#pragma once
#include <chrono>
#include <memory>
#include <optional>

#include "studio/overlay.h"
#include "studio/overlay_text.h"
#include "studio/status_line.h"
#include "studio/window_copy.h"
#include "timing/pass_names.h"
#include "timing/timer_queries.h"
#include "timing/timer_ring.h"

class StudioPicture {
 public:
  using Clock = std::chrono::steady_clock;

  StudioPicture() = default;
  ~StudioPicture();
  StudioPicture(const StudioPicture&) = delete;
  StudioPicture& operator=(const StudioPicture&) = delete;

  // Loads the overlay font and, where GL has timestamp queries, times every pass under the
  // names `names` keeps (it must outlive the picture's timing).
  void start(const ProgramNames& names);
  void stop();

  // The picture a paused studio keeps is stale: a seek, a rebuild or a resize.
  void requestRedraw() { redrawPending_ = true; }
  void draw(bool paused);
  // `transport` has the times, part and play state; the picture adds its own measures.
  void drawOverlay(TimingView transport, const StatusLine& status);
  // Swaps, counts the frame that began at `frameStart`, and rests a moment when it drew nothing new.
  void present(Clock::time_point frameStart);

  // The song time under window pixel (x, y) when the strip is shown there.
  std::optional<float> stripTimeAt(int x, int y) const;
  // The song time at window x for a drag begun on the strip: anywhere left of the strip, even
  // outside the window, is 0, and anywhere right of it the end point.
  float dragTimeAt(int x) const;
  void toggleTiming() { showTiming_ = !showTiming_; }
  void toggleHelp() { showHelp_ = !showHelp_; }
  // The demo's picture of the latest drawn frame, without the overlay.
  const WindowCopy& shown() const { return copy_; }

 private:
  static void markPassThunk(void* context, PassKind kind, uint32_t programId, bool begin);
  void redrawPaused();
  void drawStrip(const TimingView& view);
  void drawHelp();
  void countFrame(Clock::time_point now);

  OverlayText text_;
  WindowCopy copy_;
  GlTimestampQueries queries_;
  std::unique_ptr<TimerRing> ring_;
  const ProgramNames* names_ = nullptr;
  bool redrawPending_ = true;
  bool idle_ = false;
  bool showTiming_ = true;
  bool showHelp_ = false;
  Clock::time_point fpsWindowStart_ = Clock::now();
  int fpsFrames_ = 0;
  double framesPerSecond_ = 0.0;
  double cpuMilliseconds_ = 0.0;
};
