// EndScene: the closing screen. Black but for the end logo unrolling from the centre line and a
// shimmering grey line across the middle, all fading to black from 5 s into the part.
// Owns: this part's two programs. Does NOT keep state between frames.
#pragma once
#include <memory>

#include "render/shader_program.h"
#include "scenes/base_demo_screen.h"

class EndScene : public BaseDemoScreen {
 public:
  void init() override;
  void render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) override;
  void reload() override;

  std::unique_ptr<ShaderProgram> copyProgram;
  std::unique_ptr<ShaderProgram> compositeProgram;
};
