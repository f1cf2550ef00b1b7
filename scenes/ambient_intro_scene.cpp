// The intro: programs, settings and the frame's passes.
#include "scenes/ambient_intro_scene.h"

#include "render/gl.h"

#include <iostream>

#include "scenes/bokeh_spiral.h"
#include "scenes/composite_files.h"
#include "render/display_settings.h"
#include "render/letterbox_rows.h"
#include "render/post_chain.h"
#include "scenes/pass_programs.h"
#include "render/post_pass_files.h"
#include "render/render_targets.h"
#include "render/shared_uniforms.h"
#include "scenes/dust_turns.h"
#include "scenes/intro_captions.h"
#include "scenes/scene_shader_files.h"
#include "timeline/fades.h"

void setBokehSpiral(uint32_t programId, float radius) {
  setUniformFloat(programId, "radius", radius);
  const NearBokehSpiral spiral = nearBokehSpiral(radius, settings.renderWidth, settings.renderHeight);
  glUniform1i(glGetUniformLocation(programId, "nearSpiral"), spiral.fits ? 1 : 0);
}

void AmbientIntroScene::init() {
  BaseDemoScreen::init();
  scene = embeddedPassProgram(altIntroFile);
  composite = embeddedPassProgram(amigaBorderIntroFile);
  // Every intro pixel blurs a little, so the written-out taps pay off there.
  depthOfField = embeddedPassProgram(qdofWrittenOutPassPath);
  radialBlur = embeddedPassProgram(radialBlurPassPath);
  fxaa = embeddedPassProgram(fxaaPassPath);
  bloom = embeddedPassProgram(bloomPassPath);
  glitch = embeddedPassProgram(glitchPassPath);
  bokeh = embeddedPassProgram(bokehPassPath);
  spectrumBox = embeddedPassProgram(vumetersPassPath);
  channelQuads = embeddedPassProgram(channelQuadsPassPath);
  sceneSettings = makeSceneSettings({0.47f, 0.2f, true, 0.0f, 3.0f, 9.0f, 15.0f, true, true});
}

// From the intro's first frame on, every later upload (and every later scene) carries this hue.
void AmbientIntroScene::advance() { sharedUniforms.hsv = 0.864f; }

void AmbientIntroScene::render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) {
  const float bokehRadius = fades.introPulse.value;
  const int dofReach = spiralDofReachRows(settings.renderHeight);
  const int bokehReach = bokehReachRows(settings.renderHeight, bokehRadius);
  const int fxaaReach = sceneSettings.apply_fxaa ? fxaaReachRows() : 0;
  // The rock texture repeats over the terrain; its red channel is all the march reads.
  const uint32_t rock = updateChannelQuads(rockQuads, *channelQuads, screenQuad, packSlot(packTextures, terrainSlot), 0, true);
  PassChain chain = beginPassChain(frameBuffers, renderTextures, screenQuad);
  letterboxChain(chain, dofReach + bokehReach + fxaaReach);
  runScenePass(chain, *scene, [&](uint32_t p) {
    setSampler(p, "rockRedQuads", rock);
    setSampler(p, "soundTexture", renderTextures.at(3));
    setDustFrame(p, introDustSwirl, sharedUniforms.songPosition, sharedUniforms.partStart);
  });
  advance();
  runPostPass(chain, *depthOfField, {}, dofReach);
  runPostPass(chain, *bokeh, [&](uint32_t p) { setBokehSpiral(p, bokehRadius); }, bokehReach);
  runPostPass(chain, *radialBlur);
  runPostPass(chain, *bloom);
  runSpectrumPass(chain, *spectrumBox);
  if (sceneSettings.apply_fxaa) runPostPass(chain, *fxaa, {}, fxaaReach);
  // At rest (lerp3 0) the glitch shifts no band: the pass is a copy.
  if (fades.lerp3.value == 0.0f)
    runPostPassAsCopy(chain, *glitch);
  else
    runPostPass(chain, *glitch);
  const IntroCaption caption = introCaptionAt(sharedUniforms.songPosition - sharedUniforms.partStart);
  runComposite(chain, *composite, packSlot(packTextures, border1Slot), false, [&](uint32_t p) {
    if (caption.packSlot >= 0) setSampler(p, "textTexture", packSlot(packTextures, caption.packSlot));
    setUniformFloat(p, "textAlpha", caption.alpha);
  });
}

void AmbientIntroScene::reload() {
  std::cout << "HOTRELOAD INVOKED!\n";
  scene = filePassProgram(altIntroFile);
  depthOfField = filePassProgram(qdofWrittenOutPassPath);
  spectrumBox = filePassProgram(vumetersPassPath);
  composite = filePassProgram(amigaBorderIntroFile);
  std::cout << "RELOADED!\n";
}
