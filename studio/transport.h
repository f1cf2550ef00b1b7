// The arithmetic of the studio's transport: frame steps on the 60 fps grid, the speed steps,
// the range an export covers, part names and the names of what the studio saves under
// ./captures/.
// Owns: nothing but pure functions. Does NOT seek or touch the audio: studio/playback does.
#pragma once
#include <string>

#include "studio/loop.h"
#include "timeline/demo_parts.h"

inline constexpr float stepFramesPerSecond = 60.0f;
inline constexpr float slowestSpeed = 0.25f;
inline constexpr float fastestSpeed = 2.0f;

// The next point of the 60 fps grid after t (direction +1) or before it (-1), within the demo.
float steppedFrameTime(float t, int direction);
// Half or twice `speed`, kept within 1/4 and 2.
float nextSpeed(float speed, bool faster);
// "1/4x", "1/2x", "1x", "2x".
std::string speedText(float speed);

struct TimeRange {
  float from = 0.0f;
  float to = 0.0f;
};
// The loop range when a loop is on, else the part playing at t.
TimeRange exportRange(const LoopState& loop, float t, const DemoTimeline& timeline);

// The name of part `index`, or "?" outside the table.
std::string partNameOf(const DemoTimeline& timeline, int index);

// "captures/tarvik_123.45.png" for a frame at song time 123.45 s.
std::string stillCaptureName(float t);
// "captures/tarvik_120.00-130.50.mp4".
std::string videoCaptureName(const TimeRange& range);
