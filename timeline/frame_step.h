// The GL-free half of the per-frame step: peak hold, sync dispatch, fades and pulses, the
// settings copy and the `fft` array, in that fixed order.
// Does NOT fetch the spectrum, upload the SoundTexture or render: scenes/frame_step_render does.
#pragma once
#include "timeline/scene_settings.h"

// t is this frame's song position; spectrum.raw already holds this frame's FFT, and
// spectrumOk says whether fetching it succeeded.
void advanceFrameTimeline(float t, bool spectrumOk, const SceneSettings& activeSettings);

// Copies the record into the shared uniforms (apply_fxaa stays with the scene).
void publishSceneSettings(const SceneSettings& settings);
