// The greetings part: programs, settings and the frame's passes.
#include "scenes/greets_scene.h"

#include <iostream>

#include "scenes/interim_frame.h"

void GreetsScene::init() {
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
void GreetsScene::render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList) {
  drawInterimFrame(frameBuffers, renderTextures, screenQuad);
}

void GreetsScene::reload() {
  std::cout << "HOTRELOAD INVOKED!\n";
  std::cout << "RELOADED!\n";
}
