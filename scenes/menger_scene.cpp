// The meta cubes part: programs, settings and the frame's passes.
#include "scenes/menger_scene.h"

#include <iostream>

#include "render/composite_files.h"
#include "render/post_chain.h"
#include "scenes/pass_programs.h"
#include "render/post_pass_files.h"

void MengerScene::init() {
  BaseDemoScreen::init();
  composite = embeddedPassProgram(amigaBordersOuttroFile);
  depthOfField = embeddedPassProgram(qdofPassPath);
  radialBlur = embeddedPassProgram(radialBlurPassPath);
  spectrumBox = embeddedPassProgram(vumetersPassPath);
  fxaa = embeddedPassProgram(fxaaPassPath);
  sceneSettings = makeSceneSettings({0.47f, 0.2f, true, 0.0f, 3.0f, 9.0f, 15.0f, true, true});
}

void MengerScene::render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) {
  PassChain chain = beginPassChain(frameBuffers, renderTextures, screenQuad);
  runBlackScenePass(chain);  // the sponges come with the scene's own shader
  runPostPass(chain, *depthOfField);
  runPostPass(chain, *radialBlur);
  runSpectrumPass(chain, *spectrumBox);
  if (sceneSettings.apply_fxaa) runPostPass(chain, *fxaa);
  runComposite(chain, *composite, packSlot(packTextures, 16), false);
}

void MengerScene::reload() {
  std::cout << "HOTRELOAD INVOKED!\n";
  depthOfField = filePassProgram(qdofPassPath);
  composite = filePassProgram(amigaBordersOuttroFile);
  std::cout << "RELOADED!\n";
}
