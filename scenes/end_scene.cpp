// The closing screen: a copy scene pass, then the end composite into the window.
#include "scenes/end_scene.h"

#include <iostream>

#include "scenes/composite_files.h"
#include "render/post_chain.h"
#include "render/post_pass_files.h"
#include "render/render_targets.h"
#include "scenes/pass_programs.h"

void EndScene::init() {
  BaseDemoScreen::init();
  copyProgram = embeddedPassProgram(copyPassPath);
  compositeProgram = embeddedPassProgram(amigaBordersEndFile);
}

void EndScene::render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) {
  PassChain chain = beginPassChain(frameBuffers, renderTextures, screenQuad);
  const uint32_t endLogo = packSlot(packTextures, endLogoSlot);
  // The composite hides this picture; copying the end logo keeps the pass from sampling the
  // very target it draws into.
  runScenePass(chain, *copyProgram,
               [&](uint32_t programId) { setSampler(programId, "renderTexture", endLogo); });
  runComposite(chain, *compositeProgram, endLogo, false,
               [&](uint32_t programId) { setSampler(programId, "endlogo", endLogo); });
}

void EndScene::reload() {
  std::cout << "HOTRELOAD INVOKED!\n";
  compositeProgram.reset();
  compositeProgram = filePassProgram(amigaBordersEndFile);
  std::cout << "RELOADED!\n";
}
