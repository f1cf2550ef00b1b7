// The abstract worlds part: programs, settings and the frame's passes.
#include "scenes/abstract_worlds_screen.h"

#include <iostream>

#include "scenes/interim_frame.h"

void AbstractWorldsScreen::init() {
  BaseDemoScreen::init();
  sceneSettings.miscData = {2.3f, 1.0f, 1.0f, 0.0f, 0.0f, 6.207f, 0.0f, 2.66f, 0.0f, 2.3f, 4.4f, 1.0f, 1.0f};
  sceneSettings.bloom_threshold1 = 0.67f;
  sceneSettings.bloom_threshold2 = 0.2f;
  sceneSettings.apply_bloom = true;
  sceneSettings.crt_threshold = 1.4f;
  sceneSettings.apply_fxaa = true;
}

// Until this part has its own picture, its frame is the black stand-in copied to the window.
void AbstractWorldsScreen::render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList) {
  drawInterimFrame(frameBuffers, renderTextures, screenQuad);
}

void AbstractWorldsScreen::reload() {
  std::cout << "HOTRELOAD INVOKED!\n";
  std::cout << "RELOADED!\n";
}
