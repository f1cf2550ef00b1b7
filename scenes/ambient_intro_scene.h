// AmbientIntroScene: the intro, a flight over a breathing terrain under three captions,
// through the longest pass chain of the demo.
// Owns: its nine programs and settings. Does NOT keep state between frames.
#pragma once
#include "render/pass_programs.h"
#include "scenes/base_demo_screen.h"

class AmbientIntroScene : public BaseDemoScreen {
 public:
  void init() override;
  void render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) override;
  void advance() override;
  void reload() override;

  PassProgram scene;
  PassProgram composite;
  PassProgram depthOfField;
  PassProgram radialBlur;
  PassProgram fxaa;
  PassProgram bloom;
  PassProgram glitch;
  PassProgram bokeh;
  PassProgram spectrumBox;
};
