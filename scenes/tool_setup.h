// The start-up that the offline renderer, its frame benchmark, the studio and the browser's
// stills share: the render and window sizes, the frame grid, and the timeline every frame step
// reads.
// Does NOT open a display or load anything: each tool does that in its own order.
#pragma once
#include <string>

#include "timeline/audio.h"
#include "timeline/frame_grid.h"

// Windowed; the render size of the quality unless a square `renderSize` is given.
void applyToolSizes(int quality, int renderSize, int windowWidth, int windowHeight);
// Depth-of-field defaults, no mouse, the beat-sync list with its handler and the part table.
void prepareToolTimeline();
// The start of a run whose clock is a frame counter: fixed seeds (particles and tiles draw the
// same values in every run, so stills reproduce), the simulation path, the timeline at 0 s.
void prepareSimulatedRun(bool fullSimulation);
// One frame of that run at song time t, its spectrum from the decoded track; draws only when
// asked, and every frame before the first drawn one runs its CPU-side effects all the same.
void stepSimulatedFrame(const DecodedAudio& music, float t, bool draw);
