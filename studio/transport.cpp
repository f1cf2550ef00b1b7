// Frame grid, speed steps, part and capture names.
#include "studio/transport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Song times a little off the grid (a float position read from the audio) count as on it.
constexpr double gridTolerance = 1e-3;

std::string formatted(const char* pattern, double a, double b = 0.0) {
  char text[96];
  std::snprintf(text, sizeof text, pattern, a, b);
  return text;
}

}  // namespace

float steppedFrameTime(float t, int direction) {
  const double frame = static_cast<double>(t) * stepFramesPerSecond;
  const double target = direction > 0 ? std::floor(frame + gridTolerance) + 1.0 : std::ceil(frame - gridTolerance) - 1.0;
  const double seconds = std::clamp(target / stepFramesPerSecond, 0.0, static_cast<double>(demoEndTime));
  return static_cast<float>(seconds);
}

float nextSpeed(float speed, bool faster) {
  return std::clamp(faster ? speed * 2.0f : speed * 0.5f, slowestSpeed, fastestSpeed);
}

std::string speedText(float speed) {
  if (speed >= 1.0f) return formatted("%gx", speed);
  return formatted("1/%gx", 1.0 / speed);
}

TimeRange exportRange(const LoopState& loop, float t, const DemoTimeline& timeline) {
  if (loop.on) return {loop.start, loop.end};
  const DemoPart* part = findDemoPart(timeline, std::clamp(t, 0.0f, demoEndTime));
  if (!part) return {0.0f, demoEndTime};
  return {part->start, std::min(part->end, demoEndTime)};
}

std::string partNameOf(const DemoTimeline& timeline, int index) {
  if (index < 0 || index >= static_cast<int>(timeline.size())) return "?";
  return timeline[static_cast<size_t>(index)].name;
}

std::string stillCaptureName(float t) { return formatted("captures/tarvik_%.2f.png", t); }

std::string videoCaptureName(const TimeRange& range) {
  return formatted("captures/tarvik_%.2f-%.2f.mp4", range.from, range.to);
}
