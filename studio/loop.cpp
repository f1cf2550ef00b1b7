// Loop ranges and their wrap.
#include "studio/loop.h"

#include <algorithm>
#include <cmath>

namespace {

bool marksMakeRange(const LoopState& loop) {
  return loop.markIn && loop.markOut && std::fabs(*loop.markOut - *loop.markIn) >= shortestLoop;
}

void takeRange(LoopState& loop, float t, const DemoTimeline& timeline) {
  if (marksMakeRange(loop)) {
    // Marks set in either order make the same range.
    loop.start = std::min(*loop.markIn, *loop.markOut);
    loop.end = std::max(*loop.markIn, *loop.markOut);
    return;
  }
  const DemoPart* part = findDemoPart(timeline, std::clamp(t, 0.0f, demoEndTime));
  loop.start = part ? part->start : 0.0f;
  loop.end = part ? std::min(part->end, demoEndTime) : demoEndTime;
}

}  // namespace

void toggleLoop(LoopState& loop, float t, const DemoTimeline& timeline) {
  loop.on = !loop.on;
  if (loop.on) takeRange(loop, t, timeline);
}

void markLoopIn(LoopState& loop, float t, const DemoTimeline& timeline) {
  loop.markIn = t;
  if (loop.on) takeRange(loop, t, timeline);
}

void markLoopOut(LoopState& loop, float t, const DemoTimeline& timeline) {
  loop.markOut = t;
  if (loop.on) takeRange(loop, t, timeline);
}

void followSeek(LoopState& loop, float t, const DemoTimeline& timeline) {
  if (loop.on && !marksMakeRange(loop)) takeRange(loop, t, timeline);
}

std::optional<float> loopWrap(const LoopState& loop, float t) {
  if (!loop.on || t < loop.end) return std::nullopt;
  return loop.start;
}
