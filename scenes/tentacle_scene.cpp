// The tentacles part: programs, settings and the frame's passes.
#include "scenes/tentacle_scene.h"

#include <GL/glew.h>

#include <iostream>

#include "render/composite_files.h"
#include "render/post_chain.h"
#include "scenes/pass_programs.h"
#include "render/post_pass_files.h"
#include "render/window_target.h"
#include "scenes/scene_shader_files.h"

void TentacleScene::init() {
  BaseDemoScreen::init();
  CreateFrameBuffer();
  depthOfField = embeddedPassProgram(tentacleFocusFile);
  bloom = embeddedPassProgram(bloomPassPath);
  spectrumBox = embeddedPassProgram(vumetersPassPath);
  fxaa = embeddedPassProgram(fxaaPassPath);
  crt = embeddedPassProgram(crtPassPath);
  composite = embeddedPassProgram(amigaBordersPartFile);
  sceneSettings = makeSceneSettings({0.385f, 0.2f, true, 1.4f, 3.0f, 9.0f, 15.0f, true, true});
  sceneSettings.miscData = {1.228f, 4.912f, 0.982f, 71.86f, 485.0f};
}

void TentacleScene::render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) {
  PassChain chain = beginPassChain(frameBuffers, renderTextures, screenQuad);
  runBlackScenePass(chain);  // the lattice and tentacles come with the scene's own shader
  runPostPass(chain, *depthOfField);
  runPostPass(chain, *bloom);
  runSpectrumPass(chain, *spectrumBox);
  if (sceneSettings.apply_fxaa) runPostPass(chain, *fxaa);
  runPostPass(chain, *crt);
  // This part clears the window before its composite.
  glBindFramebuffer(GL_FRAMEBUFFER, windowFramebuffer);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  runComposite(chain, *composite, packSlot(packTextures, 16), false);
}

void TentacleScene::reload() {
  std::cout << "HOTRELOAD INVOKED!\n";
  composite = filePassProgram(amigaBordersPartFile);
  std::cout << "RELOADED!\n";
}
