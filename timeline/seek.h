// Jumping to a song time in the studio: where a real run would stand at that time (part, sync
// cursor, fade hold), and moving the music and the timeline there.
// Owns: nothing between calls. applySeek writes the music position, the sync cursor, demoState,
// the part uniforms and the fade records, as the demo's own seek and part change do.
// Does NOT replay fades or pulses that started before the new time: they are cleared.
#pragma once
#include <cstddef>
#include <vector>

#include "timeline/beat_sync.h"
#include "timeline/demo_parts.h"

struct SeekLanding {
  float time = 0.0f;      // the requested time, kept inside 0 to the end point
  int partIndex = -1;     // the part playing at that time
  float partStart = 0.0f;
  size_t cursor = 0;      // the first sync item at or after the time
  bool hold = false;      // the fade-hold flag a real run has at that time
};

// Pure: the state a real run has reached at `requested`.
SeekLanding seekLanding(float requested, const DemoTimeline& timeline, const std::vector<BeatSyncItem>& items);

// Moves music, sync cursor, part bookkeeping and fade hold to the landing; clears every fade
// and pulse record. Prints the seek's "Synced position" line.
void applySeek(const SeekLanding& landing);
// The same without the music and without printing (the frame benchmark has no music stream).
void placeTimeline(const SeekLanding& landing);

// Start of part `index` (clamped to the table), and the part before / after the one at t.
float partStartTime(const DemoTimeline& timeline, int index);
int partIndexAt(const DemoTimeline& timeline, float t);
