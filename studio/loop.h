// The studio's loop: the current part, or a range marked with [ and ], played over and over.
// Owns: LoopState, plain data kept by the transport. Does NOT seek: the transport seeks to what
// loopWrap returns.
#pragma once
#include <optional>

#include "timeline/demo_parts.h"

struct LoopState {
  bool on = false;
  std::optional<float> markIn;   // [ : where a marked range starts
  std::optional<float> markOut;  // ] : where it ends
  float start = 0.0f;            // the range looped now, valid while `on`
  float end = 0.0f;
};

// A marked range shorter than this loops the part instead.
inline constexpr float shortestLoop = 0.1f;

// Turns the loop on at song time t (the marked range if both marks make one, else the part
// playing at t, ending at the end point at the latest), or off.
void toggleLoop(LoopState& loop, float t, const DemoTimeline& timeline);
// Sets a mark at t; a loop that is on takes the new range at once.
void markLoopIn(LoopState& loop, float t, const DemoTimeline& timeline);
void markLoopOut(LoopState& loop, float t, const DemoTimeline& timeline);
// After a seek to t by the user: a part loop moves to the part at t; a marked range stays.
void followSeek(LoopState& loop, float t, const DemoTimeline& timeline);
// The time to jump back to when t has reached the end of the loop; nothing otherwise.
std::optional<float> loopWrap(const LoopState& loop, float t);
