// The tentacles part: programs, settings and the frame's passes.
#include "scenes/tentacle_scene.h"

#include <iostream>

#include "scenes/interim_frame.h"

void TentacleScene::init() {
  BaseDemoScreen::init();
  CreateFrameBuffer();
  sceneSettings.miscData = {1.228f, 4.912f, 0.982f, 71.86f, 485.0f};
  sceneSettings.bloom_threshold1 = 0.385f;
  sceneSettings.bloom_threshold2 = 0.2f;
  sceneSettings.apply_bloom = true;
  sceneSettings.crt_threshold = 1.4f;
  sceneSettings.dof1 = 3.0f;
  sceneSettings.dof2 = 9.0f;
  sceneSettings.dof3 = 15.0f;
  sceneSettings.apply_dof = true;
  sceneSettings.apply_fxaa = true;
}

// Until this part has its own picture, its frame is the black stand-in copied to the window.
void TentacleScene::render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList) {
  drawInterimFrame(frameBuffers, renderTextures, screenQuad);
}

void TentacleScene::reload() {
  std::cout << "HOTRELOAD INVOKED!\n";
  std::cout << "RELOADED!\n";
}
