// AmbientIntroScene: the intro: cubes over a terrain under letterbox captions.
// Owns: this part's programs and settings. Does NOT keep state beyond its own members.
#pragma once
#include "scenes/base_demo_screen.h"

class AmbientIntroScene : public BaseDemoScreen {
 public:
  void init() override;
  void render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) override;
  void reload() override;
};
