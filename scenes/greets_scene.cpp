// The greetings part: programs, settings and the frame's passes.
#include "scenes/greets_scene.h"

#include <iostream>

#include "render/composite_files.h"
#include "render/post_chain.h"
#include "scenes/pass_programs.h"
#include "render/post_pass_files.h"
#include "scenes/rgb_split_offsets.h"

void GreetsScene::init() {
  BaseDemoScreen::init();
  bloom = embeddedPassProgram(bloomPassPath);
  crt = embeddedPassProgram(crtPassPath);
  rgbSplit = embeddedPassProgram(rgbSplitPassPath);
  fxaa = embeddedPassProgram(fxaaPassPath);
  composite = embeddedPassProgram(amigaBordersFile);
  sceneSettings = makeSceneSettings({0.47f, 0.2f, true, 1.4f, 1.5f, 4.5f, 7.5f, false, true});
}

void GreetsScene::render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) {
  PassChain chain = beginPassChain(frameBuffers, renderTextures, screenQuad);
  runBlackScenePass(chain);  // the structure and the tile mesh come with the scene's own issue
  runPostPass(chain, *bloom);
  runPostPass(chain, *crt);
  runPostPass(chain, *rgbSplit, setRgbSplitOffsets);
  if (sceneSettings.apply_fxaa) runPostPass(chain, *fxaa);
  runComposite(chain, *composite, packSlot(packTextures, 28), true);
}

void GreetsScene::reload() {
  std::cout << "HOTRELOAD INVOKED!\n";
  composite = filePassProgram(amigaBordersFile);
  std::cout << "RELOADED!\n";
}
