// TentacleScene: the tentacles part, an underwater lattice melting into a folded swarm and
// then into tentacles, with rising bubbles over the finished picture, credits sliding in and
// out during the swarm and the small logo in front of the tentacles.
// Owns: its thirteen programs, its float target of the focus's row sums, its settings (sub-step
// and camera values chosen every frame), its private target and the particle system. Does NOT
// keep any other state between frames.
#pragma once
#include <string>

#include "geometry/particle_system.h"
#include "render/pass_programs.h"
#include "render/post_chain.h"
#include "render/shader_files.h"
#include "scenes/base_demo_screen.h"

// The ray-marcher's fragment text: the shared snippets with this part's constants, then
// "./shaders/scenes/tentacles.glsl", from `files` (embedded at init, disk on reload). This
// text follows the sub_step uniform and carries all three sub-steps' fields; the part draws
// with one program per sub-step, whose text defines it (TENTACLE_STEP 0, 1 or 2).
std::string tentacleSceneSource(ShaderFiles files);
std::string tentacleSubStepSource(ShaderFiles files, int subStep);

class TentacleScene : public BaseDemoScreen {
 public:
  void init() override;
  void render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) override;
  void advance() override;
  void reload() override;

  PassProgram scene;               // sub-step 0, the lattice
  PassProgram swarmScene;          // sub-step 1
  PassProgram tentacleFieldScene;  // sub-step 2
  PassProgram depthOfField;
  PassProgram focusRows;  // the focus's first half, into rowSums
  PassProgram bloom;
  PassProgram crt;
  PassProgram composite;
  PassProgram particle;
  PassProgram fxaa;
  PassProgram spectrumBox;
  PassProgram logoSprite;
  PassProgram creditsSprite;
  ParticleSystem particles;
  SideTarget rowSums;  // the focus's row sums, a float target at render size

 private:
  // The program of the sub-step the shaders are given this frame.
  const PassProgram& subStepScene() const;
  // Particles, then the sub-step's overlay, into the target the CRT pass wrote.
  void drawOverPicture(uint32_t target, float partTime, const GLNameList& packTextures);
  // The particles' visible-count ramp and one frame of motion, after they were drawn.
  void advanceParticles(float partTime);
  void drawCredits(float partTime, const GLNameList& packTextures);
  void drawLogo(const GLNameList& packTextures);
};
