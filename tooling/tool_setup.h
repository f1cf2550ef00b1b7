// The start-up that the offline renderer, its frame benchmark and the studio share: the
// render and window sizes, and the timeline every frame step reads.
// Does NOT open a display or load anything: each tool does that in its own order.
#pragma once

// Windowed; the render size of the quality unless a square `renderSize` is given.
void applyToolSizes(int quality, int renderSize, int windowWidth, int windowHeight);
// Depth-of-field defaults, no mouse, the beat-sync list with its handler and the part table.
void prepareToolTimeline();
