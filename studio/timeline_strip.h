// The timeline strip along the bottom of the studio's window: the eight parts as alternating
// bands, the sync items as ticks, the loop range, the play head; and the song time under a
// click on it. Owns: the strip's layout, as plain rectangles. Does NOT draw (render's
// overlay rectangles do) nor seek (the transport does).
#pragma once
#include <vector>

#include "studio/overlay_rects.h"
#include "studio/loop.h"
#include "timeline/demo_parts.h"

struct TimelineStrip {
  float left = 0.0f, right = 0.0f;  // window pixels: song time 0 to the end point
  float top = 0.0f, height = 0.0f;

  // Where the strip sits in a window of the given size.
  static TimelineStrip forWindow(int windowWidth, int windowHeight);
  bool contains(float x, float y) const;
  // The song time under window x, within 0 and the end point.
  float timeAt(float x) const;
  float xOf(float t) const;
};

// Back to front: background, part bands, loop range, sync ticks, play head.
std::vector<OverlayRect> timelineStripRects(const TimelineStrip& strip, const DemoTimeline& timeline,
                                            const std::vector<float>& syncTimes, const LoopState& loop,
                                            float playHead);
