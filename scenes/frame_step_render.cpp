// The GL half of the frame step and the shared render targets it hands to the scenes.
#include "scenes/frame_step_render.h"

#include "render/gl.h"

#include "render/gl_lists.h"
#include "render/render_targets.h"
#include "render/shared_uniforms.h"
#include "resources/pack_loader.h"
#include "scenes/base_demo_screen.h"
#include "scenes/scene_set.h"
#include "timeline/audio.h"
#include "timeline/frame_step.h"
#include "timeline/music.h"
#include "timeline/sound_bins.h"

void createFrameResources() {
  loadPackImages();
  for (int i = 0; i < 3; ++i) {
    const uint32_t texture = createRenderTexture();
    renderTextures.push_back(texture);
    frameBuffers.push_back(createFramebuffer(texture));
  }
  renderTextures.push_back(createSoundTexture(spectrum.raw.data()));
}

SimulationPath simulationPath = SimulationPath::advance;

void frameStepWithSpectrum(bool spectrumOk, bool draw) {
  const int part = sharedUniforms.activeDemoPart;
  BaseDemoScreen* scene = part >= 0 && part < static_cast<int>(sceneList.size()) ? sceneList[part] : nullptr;
  advanceFrameTimeline(sharedUniforms.songPosition, spectrumOk, scene ? scene->sceneSettings : SceneSettings{});
  if (renderTextures.size() > 3) uploadSoundTexture(renderTextures[3], spectrum.raw.data());
  if (!scene) return;
  if (!draw && simulationPath == SimulationPath::advance) {
    scene->advance();
    return;
  }
  // A frame before the shared targets exist has nothing to draw into.
  if (renderTextures.size() < 4 || frameBuffers.size() < 3) return;
  // The reference path runs the whole render, so everything it keeps from frame to frame
  // advances, but the rasteriser drops every primitive.
  if (!draw) glEnable(GL_RASTERIZER_DISCARD);
  scene->render(frameBuffers, renderTextures, packTextures);
  if (!draw) glDisable(GL_RASTERIZER_DISCARD);
}

void frameStep() {
  const bool ok = audioChannelGetData(musicStream, spectrum.raw.data(), audioDataFft1024) != audioDataFailed;
  frameStepWithSpectrum(ok, true);
}
