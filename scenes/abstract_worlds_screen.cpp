// The abstract worlds part: programs, settings and the frame's passes.
#include "scenes/abstract_worlds_screen.h"

#include <iostream>

#include "render/composite_files.h"
#include "render/post_chain.h"
#include "scenes/pass_programs.h"
#include "render/post_pass_files.h"
#include "render/shared_uniforms.h"

void AbstractWorldsScreen::init() {
  BaseDemoScreen::init();
  composite = embeddedPassProgram(amigaBordersPartFile);
  lightShafts = embeddedPassProgram(lightShaftsPassPath);
  bloom = embeddedPassProgram(bloomPassPath);
  spectrumBox = embeddedPassProgram(vumetersPassPath);
  fxaa = embeddedPassProgram(fxaaPassPath);
  crt = embeddedPassProgram(crtPassPath);
  sceneSettings = makeSceneSettings({0.67f, 0.2f, true, 1.4f, 0.0f, 0.0f, 0.0f, false, true});
  sceneSettings.miscData = {2.3f, 1.0f, 1.0f, 0.0f, 0.0f, 6.207f, 0.0f, 2.66f, 0.0f, 2.3f, 4.4f, 1.0f, 1.0f};
}

void AbstractWorldsScreen::render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) {
  const float t = sharedUniforms.songPosition - sharedUniforms.partStart;
  sharedUniforms.overridden_black_fac = t < 1.0f ? 1.0f - t : 0.0f;
  PassChain chain = beginPassChain(frameBuffers, renderTextures, screenQuad);
  runBlackScenePass(chain);  // the strips and cube stacks come with the scene's own shader
  runPostPass(chain, *lightShafts);
  runPostPass(chain, *bloom);
  runSpectrumPass(chain, *spectrumBox);
  if (sceneSettings.apply_fxaa) runPostPass(chain, *fxaa);
  runPostPass(chain, *crt);
  runComposite(chain, *composite, packSlot(packTextures, 16), false);
}

void AbstractWorldsScreen::reload() {
  std::cout << "HOTRELOAD INVOKED!\n";
  composite = filePassProgram(amigaBordersPartFile);
  std::cout << "RELOADED!\n";
}
