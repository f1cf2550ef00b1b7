// The logo part: programs, settings and the frame's passes.
#include "scenes/logo_scene.h"

#include <iostream>

#include "scenes/interim_frame.h"

void LogoScene::init() {
  BaseDemoScreen::init();

}

// Until this part has its own picture, its frame is the black stand-in copied to the window.
void LogoScene::render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList) {
  drawInterimFrame(frameBuffers, renderTextures, screenQuad);
}

void LogoScene::reload() {
  std::cout << "HOTRELOAD INVOKED!\n";
  std::cout << "RELOADED!\n";
}
