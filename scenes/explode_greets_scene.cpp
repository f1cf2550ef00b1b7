// The exploding greetings part: programs, settings and the frame's passes.
#include "scenes/explode_greets_scene.h"

#include <iostream>

#include "scenes/interim_frame.h"

void ExplodeGreetsScene::init() {
  BaseDemoScreen::init();
  sceneSettings.bloom_threshold1 = 0.47f;
  sceneSettings.bloom_threshold2 = 0.2f;
  sceneSettings.apply_bloom = true;
  sceneSettings.crt_threshold = 1.4f;
  sceneSettings.dof1 = 1.5f;
  sceneSettings.dof2 = 4.5f;
  sceneSettings.dof3 = 7.5f;
  sceneSettings.apply_fxaa = true;
}

// Until this part has its own picture, its frame is the black stand-in copied to the window.
void ExplodeGreetsScene::render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList) {
  drawInterimFrame(frameBuffers, renderTextures, screenQuad);
}
