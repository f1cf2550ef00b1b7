// Timeline strip layout.
#include "studio/timeline_strip.h"

#include <algorithm>

namespace {

constexpr float stripHeight = 18.0f;
constexpr float margin = 8.0f;
const std::array<float, 3> background = {0.05f, 0.05f, 0.06f};
const std::array<std::array<float, 3>, 2> partBands = {{{0.22f, 0.27f, 0.36f}, {0.32f, 0.38f, 0.48f}}};
const std::array<float, 3> loopColor = {0.85f, 0.55f, 0.15f};
const std::array<float, 3> tickColor = {0.8f, 0.85f, 0.9f};
const std::array<float, 3> headColor = {1.0f, 0.25f, 0.2f};

}  // namespace

TimelineStrip TimelineStrip::forWindow(int windowWidth, int windowHeight) {
  const float width = static_cast<float>(windowWidth), height = static_cast<float>(windowHeight);
  return {margin, std::max(margin + 1.0f, width - margin), height - margin - stripHeight, stripHeight};
}

bool TimelineStrip::contains(float x, float y) const {
  return x >= left && x <= right && y >= top && y <= top + height;
}

float TimelineStrip::timeAt(float x) const {
  return std::clamp((x - left) / (right - left), 0.0f, 1.0f) * demoEndTime;
}

float TimelineStrip::xOf(float t) const { return left + std::clamp(t / demoEndTime, 0.0f, 1.0f) * (right - left); }

std::vector<OverlayRect> timelineStripRects(const TimelineStrip& strip, const DemoTimeline& timeline,
                                            const std::vector<float>& syncTimes, const LoopState& loop,
                                            float playHead) {
  std::vector<OverlayRect> rects;
  rects.push_back({strip.left - 2.0f, strip.top - 2.0f, strip.right - strip.left + 4.0f, strip.height + 4.0f, background});
  const float bandTop = strip.top + strip.height * 0.25f, bandHeight = strip.height * 0.75f;
  for (size_t i = 0; i < timeline.size(); ++i) {
    const float x0 = strip.xOf(timeline[i].start), x1 = strip.xOf(timeline[i].end);
    rects.push_back({x0, bandTop, std::max(1.0f, x1 - x0 - 1.0f), bandHeight, partBands[i % 2]});
  }
  if (loop.on) {
    const float x0 = strip.xOf(loop.start), x1 = strip.xOf(loop.end);
    rects.push_back({x0, strip.top, std::max(1.0f, x1 - x0), strip.height * 0.25f, loopColor});
  }
  for (const float t : syncTimes) rects.push_back({strip.xOf(t), bandTop, 1.0f, bandHeight * 0.4f, tickColor});
  rects.push_back({strip.xOf(playHead) - 1.0f, strip.top - 2.0f, 3.0f, strip.height + 4.0f, headColor});
  return rects;
}
