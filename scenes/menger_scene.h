// MengerScene: the meta cubes part, sponges and rounded cubes melting into each other, closed
// at its end like a switched-off screen. Owns: its programs and settings.
#pragma once
#include "render/pass_programs.h"
#include "scenes/base_demo_screen.h"

class MengerScene : public BaseDemoScreen {
 public:
  void init() override;
  void render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) override;
  void reload() override;

  PassProgram scene;
  PassProgram composite;
  PassProgram depthOfField;
  PassProgram radialBlur;
  PassProgram spectrumBox;
  PassProgram fxaa;
};
