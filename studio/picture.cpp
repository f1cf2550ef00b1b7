// The shown frame, its overlays and the swap.
#include "studio/picture.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdio>

#include "app/display.h"
#include "render/display_settings.h"
#include "render/gl_lists.h"
#include "render/pass_timing_hook.h"
#include "render/shared_uniforms.h"
#include "render/window_target.h"
#include "scenes/base_demo_screen.h"
#include "scenes/frame_step_render.h"
#include "scenes/scene_set.h"
#include "studio/overlay_rects.h"
#include "studio/timeline_strip.h"
#include "timeline/beat_sync.h"
#include "timeline/demo_parts.h"
#include "timeline/frame_step.h"

namespace {

constexpr const char* overlayFont = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
constexpr float overlayFontPixels = 15.0f;
constexpr float margin = 8.0f;
// A paused studio has nothing new to draw most frames; this keeps it from spinning a core
// where the swap does not wait for the display.
constexpr Uint32 pausedFrameDelayMs = 15;

TimelineStrip stripOfWindow() { return TimelineStrip::forWindow(settings.windowWidth, settings.windowHeight); }

}  // namespace

StudioPicture::~StudioPicture() { stop(); }

void StudioPicture::start(const ProgramNames& names) {
  if (!text_.load(overlayFont, overlayFontPixels))
    std::printf("studio: no overlay text, cannot read the font %s\n", overlayFont);
  if (!GlTimestampQueries::supported()) return;
  names_ = &names;
  ring_ = std::make_unique<TimerRing>(queries_, 4);
  passTimingHook = {&StudioPicture::markPassThunk, this};
}

void StudioPicture::stop() { passTimingHook = {}; }

void StudioPicture::markPassThunk(void* context, PassKind kind, uint32_t programId, bool begin) {
  auto* picture = static_cast<StudioPicture*>(context);
  if (picture->ring_) picture->ring_->markPass(picture->names_->passName(kind, programId), begin);
}

void StudioPicture::draw(bool paused) {
  idle_ = paused && !redrawPending_;
  if (idle_ && copy_.restore(windowFramebuffer, settings.windowWidth, settings.windowHeight)) return;
  if (ring_) ring_->beginFrame();
  if (paused) redrawPaused();
  else frameStep();
  if (ring_) ring_->endFrame();
  copy_.capture(windowFramebuffer, settings.windowWidth, settings.windowHeight);
  redrawPending_ = false;
}

// A paused frame is drawn again without the timeline moving: no sync item fires, no pulse or
// spectrum peak decays; the active scene's settings and render run as they would.
void StudioPicture::redrawPaused() {
  const int part = sharedUniforms.activeDemoPart;
  if (part < 0 || part >= static_cast<int>(sceneList.size())) return;
  BaseDemoScreen* scene = sceneList[static_cast<size_t>(part)];
  publishSceneSettings(scene->sceneSettings);
  scene->render(frameBuffers, renderTextures, packTextures);
}

void StudioPicture::drawOverlay(TimingView transport, const StatusLine& status) {
  if (ring_) ring_->collect();
  const int width = settings.windowWidth, height = settings.windowHeight;
  if (showTiming_) {
    transport.framesPerSecond = framesPerSecond_;
    transport.cpuMilliseconds = cpuMilliseconds_;
    transport.gpuTiming = ring_ != nullptr;
    if (ring_) transport.passes = ring_->latest();
    text_.drawBlock(timingLines(transport), margin, margin, windowFramebuffer, width, height);
    drawStrip(transport);
  }
  if (showHelp_) drawHelp();
  if (status.visibleAt(Clock::now()))
    text_.drawBlock({statusLine(status.text(), status.isError())}, margin, height - text_.lineHeight() - 44.0f,
                    windowFramebuffer, width, height);
}

void StudioPicture::drawStrip(const TimingView& view) {
  std::vector<float> syncTimes;
  for (const BeatSyncItem& item : beatSync.items) syncTimes.push_back(item.time);
  drawOverlayRects(timelineStripRects(stripOfWindow(), demoTimeline, syncTimes, view.loop, view.songTime),
                   windowFramebuffer, settings.windowWidth, settings.windowHeight);
}

// Along the right edge, as wide as its longest line.
void StudioPicture::drawHelp() {
  const std::vector<OverlayLine> help = helpLines();
  float width = 0.0f;
  for (const OverlayLine& line : help) width = std::max(width, text_.textWidth(line.text));
  const float x = std::max(margin, settings.windowWidth - width - 24.0f);
  text_.drawBlock(help, x, margin, windowFramebuffer, settings.windowWidth, settings.windowHeight);
}

void StudioPicture::present(Clock::time_point frameStart) {
  cpuMilliseconds_ = std::chrono::duration<double, std::milli>(Clock::now() - frameStart).count();
  SDL_GL_SwapWindow(window);
  countFrame(Clock::now());
  if (idle_) SDL_Delay(pausedFrameDelayMs);
}

// The rate over half-second windows, steady enough to read.
void StudioPicture::countFrame(Clock::time_point now) {
  ++fpsFrames_;
  const double elapsed = std::chrono::duration<double>(now - fpsWindowStart_).count();
  if (elapsed < 0.5) return;
  framesPerSecond_ = fpsFrames_ / elapsed;
  fpsFrames_ = 0;
  fpsWindowStart_ = now;
}

std::optional<float> StudioPicture::stripTimeAt(int x, int y) const {
  const TimelineStrip strip = stripOfWindow();
  const float fx = static_cast<float>(x), fy = static_cast<float>(y);
  if (!showTiming_ || !strip.contains(fx, fy)) return std::nullopt;
  return strip.timeAt(fx);
}

float StudioPicture::dragTimeAt(int x) const { return stripOfWindow().timeAt(static_cast<float>(x)); }
