// The meta cubes part: programs, settings and the frame's passes.
#include "scenes/menger_scene.h"

#include <iostream>

#include "scenes/composite_files.h"
#include "render/display_settings.h"
#include "render/letterbox_rows.h"
#include "render/post_chain.h"
#include "render/post_pass_files.h"
#include "render/render_targets.h"
#include "render/shared_uniforms.h"
#include "scenes/dust_turns.h"
#include "scenes/pass_programs.h"

void MengerScene::init() {
  BaseDemoScreen::init();
  scene = embeddedPassProgram(metaSceneFile);
  composite = embeddedPassProgram(amigaBordersOuttroFile);
  depthOfField = embeddedPassProgram(qdofPassPath);
  radialBlur = embeddedPassProgram(radialBlurPassPath);
  fxaa = embeddedPassProgram(fxaaPassPath);
  spectrumBox = embeddedPassProgram(vumetersPassPath);
  sceneSettings = makeSceneSettings({0.47f, 0.2f, true, 0.0f, 3.0f, 9.0f, 15.0f, true, true});
}

void MengerScene::render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) {
  const int dofReach = spiralDofReachRows(settings.renderHeight);
  const int fxaaReach = sceneSettings.apply_fxaa ? fxaaReachRows() : 0;
  PassChain chain = beginPassChain(frameBuffers, renderTextures, screenQuad);
  letterboxChain(chain, dofReach + fxaaReach);
  const uint32_t cube = packSlot(packTextures, cubeSlot);
  runScenePass(chain, *scene, [&](uint32_t programId) {
    setSampler(programId, "cubeTexture", cube);
    setSampler(programId, "soundTexture", chain.renderTextures.at(3));
    setDustFrame(programId, metaDustSwirl, sharedUniforms.songPosition, sharedUniforms.partStart);
  });
  runPostPass(chain, *depthOfField, {}, dofReach);
  runPostPass(chain, *radialBlur);
  runSpectrumPass(chain, *spectrumBox);
  if (sceneSettings.apply_fxaa) runPostPass(chain, *fxaa, {}, fxaaReach);
  runComposite(chain, *composite, packSlot(packTextures, border2Slot), false);
}

void MengerScene::reload() {
  std::cout << "HOTRELOAD INVOKED!\n";
  scene.reset();
  scene = filePassProgram(metaSceneFile);
  depthOfField.reset();
  depthOfField = filePassProgram(qdofPassPath);
  composite.reset();
  composite = filePassProgram(amigaBordersOuttroFile);
  std::cout << "RELOADED!\n";
}
