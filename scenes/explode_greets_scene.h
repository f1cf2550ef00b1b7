// ExplodeGreetsScene: the greetings picture laid on tiles and blown apart, revealing the
// production logo. Owns: its programs and settings; keeps the base's empty reload.
#pragma once
#include "render/pass_programs.h"
#include "scenes/base_demo_screen.h"

class ExplodeGreetsScene : public BaseDemoScreen {
 public:
  void init() override;
  void render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) override;

  PassProgram scene;
  PassProgram bloom;
  PassProgram rgbSplit;
  PassProgram logoFade;
  PassProgram fxaa;
  PassProgram composite;
};
