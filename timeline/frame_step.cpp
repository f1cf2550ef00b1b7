// Per-frame timeline work shared by the live demo and the offline renderer.
#include "timeline/frame_step.h"

#include <cstdio>

#include "render/shared_uniforms.h"
#include "timeline/beat_sync.h"
#include "timeline/fades.h"
#include "timeline/sound_bins.h"

void publishSceneSettings(const SceneSettings& s) {
  sharedUniforms.miscData = s.miscData;
  sharedUniforms.bloom_threshold1 = s.bloom_threshold1;
  sharedUniforms.bloom_threshold2 = s.bloom_threshold2;
  sharedUniforms.dof1 = s.dof1;
  sharedUniforms.sub_step = s.sub_step;
  sharedUniforms.dof2 = s.dof2;
  sharedUniforms.apply_bloom = s.apply_bloom;
  sharedUniforms.dof3 = s.dof3;
  sharedUniforms.apply_dof = s.apply_dof;
  sharedUniforms.crt_threshold = s.crt_threshold;
}

void advanceFrameTimeline(float t, bool spectrumOk, const SceneSettings& activeSettings) {
  applyPeakHold(spectrum.raw, spectrum.held);
  spectrum.snapshot = spectrum.held;
  if (!spectrumOk) std::printf("Unable to read channel data\n");
  dispatchBeatSync(t);
  advanceFades(t);
  publishSceneSettings(activeSettings);
  computeFftArray(spectrum.snapshot, sharedUniforms.fft);
}
