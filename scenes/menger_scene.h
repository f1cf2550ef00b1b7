// MengerScene: the meta cubes part, sponges and rounded cubes melting into each other in front
// of a fractal backdrop, closed at its end like a switched-off screen.
// Owns: its programs and settings. Does NOT keep state between frames: the picture follows
// part time, song time and the shared values.
#pragma once
#include "render/pass_programs.h"
#include "scenes/base_demo_screen.h"

// The scene pass's file (also the key of its embedded copy), and the distance field it includes.
inline constexpr const char* metaSceneFile = "./shaders/scenes/meta.glsl";
inline constexpr const char* metaShapesFile = "./shaders/scenes/meta_shapes.glsl";

class MengerScene : public BaseDemoScreen {
 public:
  void init() override;
  void render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) override;
  void reload() override;

  PassProgram scene;
  PassProgram composite;
  PassProgram depthOfField;
  PassProgram radialBlur;
  PassProgram fxaa;
  PassProgram spectrumBox;
};
