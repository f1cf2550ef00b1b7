// The frame benchmark's walk, one frame per call.
#include "timing/bench_run.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "render/display_settings.h"
#include "render/gl.h"
#include "render/pass_timing_hook.h"
#include "scenes/tool_setup.h"
#include "timeline/beat_sync.h"
#include "timeline/demo_parts.h"
#include "timeline/seek.h"

namespace {

// Frames drawn at each part before measuring: the driver finishes building its programs on
// their first draws.
constexpr int warmUpFrames = 2;
constexpr double frameSeconds = 1.0 / 60.0;
constexpr int timerSlots = 4;

// A browser's glFinish returns at once; reading a pixel back waits for the GPU there, and costs
// next to nothing after the desktop's glFinish.
void waitForGpu() {
  glFinish();
  unsigned char pixel[4];
  glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
}

}  // namespace

BenchRun::BenchRun(QueryBackend& queries, const DecodedAudio& music, int frames)
    : music_(music), ring_(queries, timerSlots), frames_(std::max(frames, 1)) {
  passTimingHook = {&BenchRun::markPass, this};
}

BenchRun::~BenchRun() { passTimingHook = {}; }

void BenchRun::markPass(void* context, PassKind kind, uint32_t programId, bool begin) {
  auto* run = static_cast<BenchRun*>(context);
  run->ring_.markPass(run->names.passName(kind, programId), begin);
}

void BenchRun::startPart(size_t index) {
  part_ = index;
  frame_ = 0;
  if (part_ >= demoTimeline.size()) return;
  const DemoPart& part = demoTimeline[part_];
  middle_ = 0.5f * (part.start + std::min(part.end, demoEndTime));
  placeTimeline(seekLanding(middle_, demoTimeline, beatSync.items));
  parts_.push_back({});
  parts_.back().partName = part.name;
}

bool BenchRun::drawNext() {
  // The first part is placed at the first draw, once the caller's display and scenes are up.
  if (parts_.empty()) startPart(0);
  if (awaiting_ || part_ >= demoTimeline.size()) return false;
  const float t = middle_ + static_cast<float>(frame_ * frameSeconds);
  const auto start = std::chrono::steady_clock::now();
  ring_.beginFrame();
  ++ringFrame_;
  stepSimulatedFrame(music_, t, true);
  ring_.endFrame();
  waitForGpu();
  wall_ = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  if (frame_ >= warmUpFrames) {
    PartTiming& timing = parts_.back();
    if (frame_ == warmUpFrames) timing.firstTime = t;
    timing.lastTime = t;
    awaiting_ = true;
  }
  if (++frame_ == warmUpFrames + frames_ && !awaiting_) startPart(part_ + 1);
  return true;
}

bool BenchRun::collectDrawn() {
  if (!awaiting_) return true;
  ring_.collect();
  if (ring_.latestFrame() != ringFrame_) return false;
  std::vector<std::pair<std::string, double>> passTimes;
  for (const PassTime& pass : ring_.latest()) passTimes.push_back({pass.name, pass.milliseconds});
  parts_.back().addFrame(passTimes, wall_);
  awaiting_ = false;
  if (frame_ == warmUpFrames + frames_) startPart(part_ + 1);
  return true;
}

std::string benchHeading(const std::string& renderer, int frames, const std::vector<PartTiming>& parts) {
  char line[512];
  std::snprintf(line, sizeof line,
                "frame benchmark on %s\nquality %s, render %dx%d, output %dx%d, %d frame%s from the middle of "
                "each part (median, then min-max, over the frames)\n",
                renderer.c_str(), qualityName(settings.quality), settings.renderWidth, settings.renderHeight,
                settings.windowWidth, settings.windowHeight, frames, frames == 1 ? "" : "s");
  std::string text = line;
  for (size_t i = 0; i < parts.size(); ++i) {
    std::snprintf(line, sizeof line, "  part %zu: %-20s song time %.3f to %.3f s\n", i + 1,
                  parts[i].partName.c_str(), parts[i].firstTime, parts[i].lastTime);
    text += line;
  }
  return text;
}
