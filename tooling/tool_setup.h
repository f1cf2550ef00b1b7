// The start-up that the offline renderer, its frame benchmark and the studio share: quality
// names, the render and window sizes, and the timeline every frame step reads.
// Does NOT open a display or load anything: each tool does that in its own order.
#pragma once
#include <string>

// "low", "medium" or "high" to 0, 1 or 2; false (quality untouched) for anything else.
bool parseQualityName(const std::string& text, int& quality);
// The name of quality 0, 1 or 2 (clamped, as the render sizes are).
const char* qualityName(int quality);
// Windowed; the render size of the quality unless a square `renderSize` is given.
void applyToolSizes(int quality, int renderSize, int windowWidth, int windowHeight);
// Depth-of-field defaults, no mouse, the beat-sync list with its handler and the part table.
void prepareToolTimeline();
