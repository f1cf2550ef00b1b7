// Seek landings and moving the demo's timeline to them.
#include "timeline/seek.h"

#include <algorithm>

#include "render/shared_uniforms.h"
#include "timeline/demo_state.h"
#include "timeline/fades.h"
#include "timeline/music.h"

namespace {

// The hold flag after the items that fired since the part began: set by a held fade to black,
// cleared by a plain fade to black or a fade from black; the part change itself cleared it.
bool holdAt(float t, float partStart, const std::vector<BeatSyncItem>& items) {
  bool hold = false;
  for (const BeatSyncItem& item : items) {
    if (item.time < partStart) continue;
    if (item.time >= t) break;
    for (const SyncAction& action : item.actions) {
      const SyncActionType type = syncActionType(action);
      if (type == SyncActionType::HeldFadeToBlack) hold = true;
      if (type == SyncActionType::FadeToBlack || type == SyncActionType::FadeFromBlack) hold = false;
    }
  }
  return hold;
}

}  // namespace

int partIndexAt(const DemoTimeline& timeline, float t) {
  const DemoPart* part = findDemoPart(timeline, t);
  if (part) return part->index;
  return t < 0.0f || timeline.empty() ? 0 : timeline.back().index;
}

float partStartTime(const DemoTimeline& timeline, int index) {
  if (timeline.empty()) return 0.0f;
  return timeline[std::clamp(index, 0, static_cast<int>(timeline.size()) - 1)].start;
}

SeekLanding seekLanding(float requested, const DemoTimeline& timeline, const std::vector<BeatSyncItem>& items) {
  SeekLanding landing;
  landing.time = std::clamp(requested, 0.0f, demoEndTime);
  landing.partIndex = partIndexAt(timeline, landing.time);
  landing.partStart = partStartTime(timeline, landing.partIndex);
  const auto next = std::find_if(items.begin(), items.end(),
                                 [&](const BeatSyncItem& item) { return item.time >= landing.time; });
  landing.cursor = static_cast<size_t>(next - items.begin());
  landing.hold = holdAt(landing.time, landing.partStart, items);
  return landing;
}

void applySeek(const SeekLanding& landing) {
  seekMusic(landing.time);
  placeTimeline(landing);
}

void placeTimeline(const SeekLanding& landing) {
  beatSync.cursor = landing.cursor;
  sharedUniforms.songPosition = landing.time;
  fades = FadeRecords{};
  fades.hold = landing.hold;
  demoState.currentPartIndex = landing.partIndex;
  demoState.currentPartStart = landing.partStart;
  demoState.previousPartIndex = landing.partIndex;
  sharedUniforms.activeDemoPart = landing.partIndex;
  sharedUniforms.partStart = landing.partStart;
}
