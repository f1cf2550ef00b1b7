// LogoScene: the logo part. The logo image under a growing field of dark lines and drifting
// dust, dissolved into coarse pixels in its last second, framed by the spectrum-bar composite.
// Owns: this part's three programs and its timings. Does NOT keep state between frames.
#pragma once
#include <memory>

#include "render/shader_program.h"
#include "scenes/base_demo_screen.h"

// Lines in the field at part time `partTime`: none before 2 s, one more per second up to ten at
// 12 s, then seven for the rest of the part.
float logoLineCount(float partTime);
// The pixelate pass runs from 18.5 s on; its cell size grows 32 512ths per second.
bool logoPixelates(float partTime);
float logoPixelValue(float partTime);

class LogoScene : public BaseDemoScreen {
 public:
  void init() override;
  void render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) override;
  void reload() override;

  std::unique_ptr<ShaderProgram> logoProgram;
  std::unique_ptr<ShaderProgram> compositeProgram;
  std::unique_ptr<ShaderProgram> pixelateProgram;
};
