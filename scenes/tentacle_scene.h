// TentacleScene: the tentacles part, an underwater lattice melting into tentacles, with
// credits and the small logo in front. Owns: its programs, settings and private target.
#pragma once
#include "render/pass_programs.h"
#include "scenes/base_demo_screen.h"

class TentacleScene : public BaseDemoScreen {
 public:
  void init() override;
  void render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) override;
  void reload() override;

  PassProgram scene;
  PassProgram depthOfField;
  PassProgram bloom;
  PassProgram spectrumBox;
  PassProgram fxaa;
  PassProgram crt;
  PassProgram composite;
};
