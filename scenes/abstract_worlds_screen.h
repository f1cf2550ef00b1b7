// AbstractWorldsScreen: the abstract worlds part, glowing strips and cube stacks under light
// shafts, faded in from black. Owns: its programs and settings, the light mask's side target,
// the assembly of its scene shader from the snippet library; drives overridden_black_fac (its
// only writer).
// Does NOT own the shared render targets, the pack textures or the post-pass texts.
#pragma once
#include <string>

#include "render/pass_programs.h"
#include "render/post_chain.h"
#include "render/shader_files.h"
#include "scenes/base_demo_screen.h"

// The scene's own file, assembled after the library snippets.
inline constexpr const char* abstractWorldsSceneFile = "./shaders/scenes/abstractworlds.glsl";

// The part time at which the world starts to turn and the cube columns rise: the scene file's
// PHASE_CHANGE.
inline constexpr float abstractWorldsPhaseChange = 28.0f;

// The scene's fragment text: basic, gamma 1.16, materials, the ray-marching lines (field 0.75,
// 128 steps, step factor 0.4, near 0.01, far 30), two lights, the six extra snippets, then the
// scene file, each file from `files` (the embedded copies at init, the disk at reload). The
// first text draws the world before the phase change, the second (SECOND_PHASE defined) the
// world after it: the software rasteriser pays for both sides of every branch, so each program
// carries only its own world's field.
std::string abstractWorldsSceneText(ShaderFiles files);
std::string abstractWorldsSecondPhaseText(ShaderFiles files);

// The black override of the first second of the part: 1 - partTime while below 1, else 0.
float abstractWorldsBlackFactor(float partTime);

class AbstractWorldsScreen : public BaseDemoScreen {
 public:
  void init() override;
  void render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) override;
  void advance() override;
  void reload() override;

  PassProgram scene;             // before the phase change
  PassProgram secondPhaseScene;  // from the phase change on
  PassProgram lightShafts;
  PassProgram maskQuads;   // the light shafts' first half, into shaftMask
  SideTarget shaftMask;    // the scene's light mask as quad words, at render size
  PassProgram bloom;
  PassProgram crt;
  PassProgram composite;
  PassProgram fxaa;
  PassProgram spectrumBox;
};
