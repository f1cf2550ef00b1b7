// The closing screen: programs, settings and the frame's passes.
#include "scenes/end_scene.h"

#include <iostream>

#include "scenes/interim_frame.h"

void EndScene::init() {
  BaseDemoScreen::init();

}

// Until this part has its own picture, its frame is the black stand-in copied to the window.
void EndScene::render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList) {
  drawInterimFrame(frameBuffers, renderTextures, screenQuad);
}

void EndScene::reload() {
  std::cout << "HOTRELOAD INVOKED!\n";
  std::cout << "RELOADED!\n";
}
