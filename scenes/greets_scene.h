// GreetsScene: the greetings part, a folded glowing structure under a lens flare behind three
// greeting images on the tile mesh, each entering, shimmering and exploding in its own phase.
// Owns: its programs, its tile mesh and settings, and the greets ray-marcher's text and post
// settings (which the exploding part reuses). Does NOT hold the timetable:
// scenes/greets_timing.h does.
#pragma once
#include <string>

#include "geometry/tile_mesh.h"
#include "render/pass_programs.h"
#include "render/shader_files.h"
#include "scenes/base_demo_screen.h"

inline constexpr const char* greetsSceneFile = "./shaders/scenes/greets.glsl";

// The greets ray-marcher's fragment text: the library snippets with the greets marching
// constants, then the scene's own file, all from `files`.
std::string greetsRaymarcherSource(ShaderFiles files);
// The post settings of the greets part, which the exploding part takes over unchanged.
SceneSettings greetsSceneSettings();

class GreetsScene : public BaseDemoScreen {
 public:
  void init() override;
  void render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) override;
  void advance() override;
  // Rebuilds the ray-marcher and the composite from disk; the other programs and the mesh stay.
  void reload() override;

  PassProgram scene;
  PassProgram bloom;
  PassProgram rgbSplit;
  PassProgram crt;
  PassProgram composite;
  PassProgram fxaa;
  PassProgram tiles;
  TileMesh tileMesh;
};
