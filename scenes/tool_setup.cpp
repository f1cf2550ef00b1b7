// Shared start-up of the simulated runs (the offline renderer, its benchmark, the studio and
// the browser's stills): sizes, the frame grid and the timeline.
#include "scenes/tool_setup.h"

#include "render/display_settings.h"
#include "render/shared_uniforms.h"
#include "timeline/beat_sync.h"
#include "timeline/demo_parts.h"
#include "timeline/demo_state.h"
#include "timeline/fades.h"
#include "timeline/sound_bins.h"
#include "geometry/random_seeds.h"
#include "scenes/frame_step_render.h"

void applyToolSizes(int quality, int renderSize, int windowWidth, int windowHeight) {
  settings.windowed = true;
  settings.quality = qualityCopy = quality;
  const SizeWH render = renderSizeForQuality(quality);
  settings.renderWidth = renderSize ? renderSize : render.width;
  settings.renderHeight = renderSize ? renderSize : render.height;
  settings.windowWidth = windowWidth;
  settings.windowHeight = windowHeight;
}

void prepareToolTimeline() {
  sharedUniforms.dof1 = 3.0f;
  sharedUniforms.dof2 = 9.0f;
  sharedUniforms.dof3 = 15.0f;
  sharedUniforms.apply_dof = true;
  sharedUniforms.mouse = {-1.0f, -1.0f};
  buildBeatSyncList();
  registerBeatSyncCallback(beatSyncHandler);
  buildDemoTimeline();
}

void prepareSimulatedRun(bool fullSimulation) {
  useFixedSeeds(1);
  simulationPath = fullSimulation ? SimulationPath::renderDiscarded : SimulationPath::advance;
  prepareToolTimeline();
  positionSyncCursor(0.0f);
  sharedUniforms.songPosition = 0.0f;
  fades.hold = false;
}

void stepSimulatedFrame(const DecodedAudio& music, float t, bool draw) {
  sharedUniforms.songPosition = t;
  advanceDemoPart(t);
  spectrumAt(music, t, spectrum.raw.data());
  frameStepWithSpectrum(true, draw);
}
