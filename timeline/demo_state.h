// The values that tie the frame loop together: which part is playing and since when.
// Owns: demoState (writer: advanceDemoPart, called by the main loop and the offline
// renderer once per frame; buildDemoTimeline resets currentPartIndex).
#pragma once

struct DemoState {
  int currentPartIndex = -1;
  float currentPartStart = 0.0f;
  int previousPartIndex = -1;  // the part of the previous frame, for clearing the fade hold
};

extern DemoState demoState;

// Per-frame bookkeeping for song position t: finds the part, records a change of part,
// publishes activeDemoPart and the part start, and clears the fade hold when a new part
// begins. A position inside no row keeps the previous part.
void advanceDemoPart(float t);
// Sets currentPartIndex to -1 (so the first lookup is a change) and fills demoTimeline.
void buildDemoTimeline();
