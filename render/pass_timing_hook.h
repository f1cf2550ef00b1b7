// An optional observer of every pass the pass chain draws, off by default: called right before
// and right after each pass's GL work, so a timer can put GPU timestamps around it.
// Owns: passTimingHook (writers: the studio's picture at start-up, and a frame benchmark run
// while it lives, in tarvik-render --bench and the page).
// Does NOT time anything itself; when `mark` is null a pass costs one pointer test.
#pragma once
#include <cstdint>

enum class PassKind { Scene, Post, Composite };

struct PassTimingHook {
  void (*mark)(void* context, PassKind kind, uint32_t programId, bool begin) = nullptr;
  void* context = nullptr;
};

extern PassTimingHook passTimingHook;

inline void markPass(PassKind kind, uint32_t programId, bool begin) {
  if (passTimingHook.mark) passTimingHook.mark(passTimingHook.context, kind, programId, begin);
}
