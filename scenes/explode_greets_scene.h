// ExplodeGreetsScene: the greets ray-marcher from a fixed camera, its finished picture laid on
// a tile mesh of its own and blown apart after two seconds, revealing the production logo
// fading in behind it. Owns: its programs, its tile mesh and settings; keeps the base's empty
// reload. Does NOT write rx, ry or rz: the tiles turn as the greets part left them.
#pragma once
#include "geometry/tile_mesh.h"
#include "render/pass_programs.h"
#include "scenes/base_demo_screen.h"

class ExplodeGreetsScene : public BaseDemoScreen {
 public:
  void init() override;
  void render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) override;
  void advance() override;

  PassProgram scene;
  PassProgram bloom;
  PassProgram rgbSplit;
  PassProgram composite;
  PassProgram logoFade;
  PassProgram fxaa;
  PassProgram tiles;
  TileMesh tileMesh;
};
