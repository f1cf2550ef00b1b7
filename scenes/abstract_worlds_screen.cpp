// The abstract worlds part: programs, settings and the frame's passes.
#include "scenes/abstract_worlds_screen.h"

#include <iostream>

#include "scenes/composite_files.h"
#include "render/channel_quads.h"
#include "render/letterbox_rows.h"
#include "render/post_chain.h"
#include "render/post_pass_files.h"
#include "render/render_targets.h"
#include "render/screen_quad.h"
#include "render/shared_uniforms.h"
#include "scenes/dust_turns.h"
#include "scenes/pass_programs.h"
#include "scenes/raymarcher_source.h"

namespace {

std::string worldsText(ShaderFiles files, const char* phaseDefine) {
  return raymarcherSource(files,
                          {.gamma = 1.16f, .fov = 0.75f, .iterations = 128, .stepSize = 0.4f, .clipNear = 0.01f,
                           .clipFar = 30.0f, .lightCount = 2, .voronoi = true, .sceneDefine = phaseDefine},
                          abstractWorldsSceneFile);
}

}  // namespace

std::string abstractWorldsSceneText(ShaderFiles files) { return worldsText(files, nullptr); }

std::string abstractWorldsSecondPhaseText(ShaderFiles files) { return worldsText(files, "SECOND_PHASE"); }

float abstractWorldsBlackFactor(float partTime) { return partTime < 1.0f ? 1.0f - partTime : 0.0f; }

void AbstractWorldsScreen::init() {
  BaseDemoScreen::init();
  scene = raymarcherProgram(ShaderFiles::Embedded, abstractWorldsSceneText);
  secondPhaseScene = raymarcherProgram(ShaderFiles::Embedded, abstractWorldsSecondPhaseText);
  lightShafts = embeddedPassProgram(lightShaftsPassPath);
  maskQuads = embeddedPassProgram(channelQuadsPassPath);
  shaftMask.texture = createWordRenderTexture();
  shaftMask.framebuffer = createFramebuffer(shaftMask.texture);
  bloom = embeddedPassProgram(bloomPassPath);
  crt = embeddedPassProgram(crtPassPath);
  composite = embeddedPassProgram(amigaBordersPartFile);
  fxaa = embeddedPassProgram(fxaaPassPath);
  spectrumBox = embeddedPassProgram(vumetersPassPath);
  sceneSettings = makeSceneSettings({0.67f, 0.2f, true, 1.4f, 0.0f, 0.0f, 0.0f, false, true});
  sceneSettings.miscData = {2.3f, 1.0f, 1.0f, 0.0f, 0.0f, 6.207f, 0.0f, 2.66f, 0.0f, 2.3f, 4.4f, 1.0f, 1.0f};
}

void AbstractWorldsScreen::advance() {
  sharedUniforms.overridden_black_fac =
      abstractWorldsBlackFactor(sharedUniforms.songPosition - sharedUniforms.partStart);
}

void AbstractWorldsScreen::render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) {
  advance();
  const int fxaaReach = sceneSettings.apply_fxaa ? fxaaReachRows() : 0;
  PassChain chain = beginPassChain(frameBuffers, renderTextures, screenQuad);
  letterboxChain(chain, fxaaReach);
  // The same difference the shaders' partTime is uploaded as, so the program and the scene file
  // agree on the phase.
  const float partTime = sharedUniforms.songPosition - sharedUniforms.partStart;
  const PassProgram& world = partTime >= abstractWorldsPhaseChange ? secondPhaseScene : scene;
  runScenePass(chain, *world, [&](uint32_t p) {
    setSampler(p, "soundTexture", chain.renderTextures.at(3));
    setDustFrame(p, abstractWorldsDustSwirl, sharedUniforms.songPosition, sharedUniforms.partStart);
  });
  // The shafts' mask is the alpha of the picture, its edges held.
  runTwoHalfPostPass(chain, *maskQuads, shaftMask, "alphaQuads", *lightShafts, 0,
                     [](uint32_t p) { setChannelQuadsRule(p, 3, false); });
  runPostPass(chain, *bloom);
  runSpectrumPass(chain, *spectrumBox);
  if (sceneSettings.apply_fxaa) runPostPass(chain, *fxaa, {}, fxaaReach);
  runPostPass(chain, *crt);
  runComposite(chain, *composite, packSlot(packTextures, border2Slot), false);
}

void AbstractWorldsScreen::reload() {
  std::cout << "HOTRELOAD INVOKED!\n";
  scene.reset();
  scene = raymarcherProgram(ShaderFiles::Disk, abstractWorldsSceneText);
  secondPhaseScene.reset();
  secondPhaseScene = raymarcherProgram(ShaderFiles::Disk, abstractWorldsSecondPhaseText);
  composite.reset();
  composite = filePassProgram(amigaBordersPartFile);
  std::cout << "RELOADED!\n";
}
