// Per-frame part bookkeeping shared by the live demo and the offline renderer.
#include "timeline/demo_state.h"

#include "render/shared_uniforms.h"
#include "timeline/demo_parts.h"
#include "timeline/fades.h"

DemoState demoState;

void buildDemoTimeline() {
  demoState.currentPartIndex = -1;
  demoTimeline = makeDemoTimeline();
}

void advanceDemoPart(float t) {
  if (const DemoPart* part = findDemoPart(demoTimeline, t); part && part->index != demoState.currentPartIndex) {
    demoState.currentPartIndex = part->index;
    demoState.currentPartStart = part->start;
  }
  sharedUniforms.activeDemoPart = demoState.currentPartIndex;
  sharedUniforms.partStart = demoState.currentPartStart;
  if (demoState.currentPartIndex != demoState.previousPartIndex) {
    demoState.previousPartIndex = demoState.currentPartIndex;
    fades.hold = false;
  }
}
