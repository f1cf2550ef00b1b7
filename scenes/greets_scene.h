// GreetsScene: the greetings part, a folded glowing structure behind three greeting images
// on the tile mesh. Owns: its programs and settings.
#pragma once
#include "render/pass_programs.h"
#include "scenes/base_demo_screen.h"

class GreetsScene : public BaseDemoScreen {
 public:
  void init() override;
  void render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) override;
  void reload() override;

  PassProgram scene;
  PassProgram bloom;
  PassProgram crt;
  PassProgram rgbSplit;
  PassProgram fxaa;
  PassProgram composite;
};
