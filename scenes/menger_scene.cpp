// The meta cubes part: programs, settings and the frame's passes.
#include "scenes/menger_scene.h"

#include <iostream>

#include "scenes/interim_frame.h"

void MengerScene::init() {
  BaseDemoScreen::init();
  sceneSettings.bloom_threshold1 = 0.47f;
  sceneSettings.bloom_threshold2 = 0.2f;
  sceneSettings.apply_bloom = true;
  sceneSettings.dof1 = 3.0f;
  sceneSettings.dof2 = 9.0f;
  sceneSettings.dof3 = 15.0f;
  sceneSettings.apply_dof = true;
  sceneSettings.apply_fxaa = true;
}

// Until this part has its own picture, its frame is the black stand-in copied to the window.
void MengerScene::render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList) {
  drawInterimFrame(frameBuffers, renderTextures, screenQuad);
}

void MengerScene::reload() {
  std::cout << "HOTRELOAD INVOKED!\n";
  std::cout << "RELOADED!\n";
}
