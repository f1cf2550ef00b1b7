// ExplodeGreetsScene: the exploding greetings part.
// Owns: this part's programs and settings. Does NOT keep state beyond its own members.
#pragma once
#include "scenes/base_demo_screen.h"

class ExplodeGreetsScene : public BaseDemoScreen {
 public:
  void init() override;
  void render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) override;
  // Keeps the base's empty reload: nothing of this part is rebuilt from files.
};
