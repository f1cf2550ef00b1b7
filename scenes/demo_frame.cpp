// The live demo's frame.
#include "scenes/demo_frame.h"

#include "scenes/frame_step_render.h"
#include "timeline/demo_parts.h"
#include "timeline/demo_state.h"

bool drawDemoFrame(float t) {
  advanceDemoPart(t);
  frameStep();
  return t <= demoEndTime;
}
