// AbstractWorldsScreen: the abstract worlds part, glowing strips and cube stacks under light
// shafts, faded in from black. Owns: its programs and settings; drives overridden_black_fac.
#pragma once
#include "render/pass_programs.h"
#include "scenes/base_demo_screen.h"

class AbstractWorldsScreen : public BaseDemoScreen {
 public:
  void init() override;
  void render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) override;
  void reload() override;

  PassProgram scene;
  PassProgram composite;
  PassProgram lightShafts;
  PassProgram bloom;
  PassProgram spectrumBox;
  PassProgram fxaa;
  PassProgram crt;
};
