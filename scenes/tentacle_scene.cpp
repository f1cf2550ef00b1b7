// The tentacles part: programs, settings and the frame's passes.
#include "scenes/tentacle_scene.h"

#include "render/gl.h"

#include <algorithm>
#include <iostream>

#include "render/display_settings.h"
#include "scenes/composite_files.h"
#include "render/letterbox_rows.h"
#include "render/post_chain.h"
#include "render/post_pass_files.h"
#include "render/render_targets.h"
#include "render/shared_uniforms.h"
#include "render/window_target.h"
#include "scenes/dust_turns.h"
#include "scenes/pass_programs.h"
#include "scenes/raymarcher_source.h"
#include "scenes/scene_shader_files.h"
#include "scenes/tentacle_timing.h"

namespace {

constexpr const char* tentaclesFile = "./shaders/scenes/tentacles.glsl";
constexpr const char* particleVertexFile = "./shaders/scenes/tentacle_particle_vtx.glsl";
constexpr const char* particleFile = "./shaders/scenes/tentacle_particle.glsl";
constexpr const char* spriteVertexFile = "./shaders/scenes/tentacle_sprite_vtx.glsl";
constexpr const char* creditsFile = "./shaders/scenes/tentacle_credits.glsl";
constexpr const char* logoFile = "./shaders/scenes/tentacle_logo.glsl";

// A program with its own vertex stage, both stages from the embedded copies.
PassProgram embeddedSpriteProgram(const char* vertexPath, const char* fragmentPath) {
  const auto vertex = loadShaderFile(ShaderFiles::Embedded, vertexPath);
  const auto fragment = loadShaderFile(ShaderFiles::Embedded, fragmentPath);
  return std::make_unique<ShaderProgram>(false, vertex.value_or(""), fragment.value_or(""), "");
}

void setMvp(uint32_t programId, const Mat4& mvp) {
  glUniformMatrix4fv(glGetUniformLocation(programId, "MVP"), 1, GL_FALSE, mvp.data());
}

std::string tentacleText(ShaderFiles files, const char* subStepDefine) {
  return raymarcherSource(files,
                          {.gamma = 0.86f, .fov = 0.45f, .iterations = 128, .stepSize = 0.3f, .clipNear = 0.01f,
                           .clipFar = 30.0f, .lightCount = 1, .voronoi = false, .sceneDefine = subStepDefine},
                          tentaclesFile);
}

std::string latticeText(ShaderFiles files) { return tentacleSubStepSource(files, 0); }
std::string swarmText(ShaderFiles files) { return tentacleSubStepSource(files, 1); }
std::string tentacleFieldText(ShaderFiles files) { return tentacleSubStepSource(files, 2); }

}  // namespace

std::string tentacleSceneSource(ShaderFiles files) { return tentacleText(files, nullptr); }

std::string tentacleSubStepSource(ShaderFiles files, int subStep) {
  static const char* const defines[] = {"TENTACLE_STEP 0", "TENTACLE_STEP 1", "TENTACLE_STEP 2"};
  return tentacleText(files, defines[std::clamp(subStep, 0, 2)]);
}

void TentacleScene::init() {
  BaseDemoScreen::init();
  scene = raymarcherProgram(ShaderFiles::Embedded, latticeText);
  swarmScene = raymarcherProgram(ShaderFiles::Embedded, swarmText);
  tentacleFieldScene = raymarcherProgram(ShaderFiles::Embedded, tentacleFieldText);
  depthOfField = embeddedPassProgram(tentacleFocusFile);
  focusRows = embeddedPassProgram(tentacleFocusRowsFile);
  rowSums.texture = createFloatRenderTexture();
  rowSums.framebuffer = createFramebuffer(rowSums.texture);
  bloom = embeddedPassProgram(bloomPassPath);
  crt = embeddedPassProgram(crtPassPath);
  composite = embeddedPassProgram(amigaBordersPartFile);
  particle = embeddedSpriteProgram(particleVertexFile, particleFile);
  fxaa = embeddedPassProgram(fxaaPassPath);
  spectrumBox = embeddedPassProgram(vumetersPassPath);
  logoSprite = embeddedSpriteProgram(spriteVertexFile, logoFile);
  creditsSprite = embeddedSpriteProgram(spriteVertexFile, creditsFile);
  sceneSettings = makeSceneSettings({0.385f, 0.2f, true, 1.4f, 3.0f, 9.0f, 15.0f, true, true});
  sceneSettings.miscData = {1.228f, 4.912f, 0.982f, 71.86f, 485.0f};
  particles.spawnAll();
  // No frame draws into or samples this target; making it reports the render size on the console.
  CreateFrameBuffer();
}

void TentacleScene::render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) {
  const float partTime = sharedUniforms.songPosition - sharedUniforms.partStart;
  // The shaders of this frame already received last frame's choice from the frame step.
  applyTentacleStep(sceneSettings, partTime, qualityCopy);

  const int fxaaReach = sceneSettings.apply_fxaa ? fxaaReachRows() : 0;
  PassChain chain = beginPassChain(frameBuffers, renderTextures, screenQuad);
  letterboxChain(chain, tentacleFocusReachRows() + fxaaReach);
  glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
  runScenePass(chain, *subStepScene(), [](uint32_t p) {
    setDustFrame(p, tentacleDustSwirl, sharedUniforms.songPosition, sharedUniforms.partStart);
  });
  runTwoHalfPostPass(chain, *focusRows, rowSums, "rowSums", *depthOfField, tentacleFocusReachRows());
  runPostPass(chain, *bloom);
  runSpectrumPass(chain, *spectrumBox);
  if (sceneSettings.apply_fxaa) runPostPass(chain, *fxaa, {}, fxaaReach);
  runPostPass(chain, *crt);
  // Post pass k draws into framebuffer k mod 2: the CRT target is 1 with FXAA, 0 without.
  const int crtTarget = chain.postPasses % 2;
  drawOverPicture(frameBuffers.at(crtTarget), partTime, packTextures);

  glBindFramebuffer(GL_FRAMEBUFFER, windowFramebuffer);
  glViewport(0, 0, settings.windowWidth, settings.windowHeight);
  glDisable(GL_DEPTH_TEST);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  runComposite(chain, *composite, packSlot(packTextures, border2Slot), false);
}

const PassProgram& TentacleScene::subStepScene() const {
  // The uniform the frame step uploaded, not this frame's new choice in sceneSettings: the
  // program must draw what the sub_step uniform would have selected.
  if (sharedUniforms.sub_step == 2) return tentacleFieldScene;
  return sharedUniforms.sub_step == 1 ? swarmScene : scene;
}

void TentacleScene::advance() {
  const float partTime = sharedUniforms.songPosition - sharedUniforms.partStart;
  applyTentacleStep(sceneSettings, partTime, qualityCopy);
  advanceParticles(partTime);
}

void TentacleScene::advanceParticles(float partTime) {
  particles.rampVisible(partTime);
  particles.updateParticles(sharedUniforms.songPosition);
}

void TentacleScene::drawOverPicture(uint32_t target, float partTime, const GLNameList& packTextures) {
  glBindFramebuffer(GL_FRAMEBUFFER, target);
  glViewport(0, 0, settings.renderWidth, settings.renderHeight);
  glDisable(GL_DEPTH_TEST);
  glUseProgram(particle->programId);
  glBindVertexArray(screenQuad.vao);
  setSampler(*particle, "sprite", packSlot(packTextures, bubbleSlot));
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  // Draw what the last update produced, then ramp and move on: a particle is never drawn on
  // the frame its life ran out.
  particles.drawParticles(sharedUniforms.songPosition, particle->programId);
  advanceParticles(partTime);

  if (sceneSettings.sub_step == 1) drawCredits(partTime, packTextures);
  if (sceneSettings.sub_step == 2) drawLogo(packTextures);
  glDisable(GL_BLEND);
}

void TentacleScene::drawCredits(float partTime, const GLNameList& packTextures) {
  const TentacleCredits credits = tentacleCreditsAt(partTime - tentacleSwarmStart);
  const uint32_t programId = creditsSprite->programId;
  glUseProgram(programId);
  uploadSharedUniforms(*creditsSprite);
  setSampler(programId, "texChannel0", packSlot(packTextures, static_cast<size_t>(credits.packSlot)));
  glUniform1f(glGetUniformLocation(programId, "calpha"), credits.alpha);
  setMvp(programId, overlaySpriteMvp(creditsPosition(credits.slide), sharedUniforms.rx, sharedUniforms.ry,
                                     settings.renderWidth, settings.renderHeight));
  drawScreenQuad(screenQuad);
}

void TentacleScene::drawLogo(const GLNameList& packTextures) {
  const uint32_t programId = logoSprite->programId;
  glUseProgram(programId);
  uploadSharedUniforms(*logoSprite);
  setSampler(programId, "texChannel0", packSlot(packTextures, smallLogoSlot));
  setMvp(programId, overlaySpriteMvp(tentacleLogoPosition, 0.0f, 0.0f, settings.renderWidth, settings.renderHeight));
  drawScreenQuad(screenQuad);
}

void TentacleScene::reload() {
  std::cout << "HOTRELOAD INVOKED!\n";
  scene.reset();
  scene = raymarcherProgram(ShaderFiles::Disk, latticeText);
  swarmScene.reset();
  swarmScene = raymarcherProgram(ShaderFiles::Disk, swarmText);
  tentacleFieldScene.reset();
  tentacleFieldScene = raymarcherProgram(ShaderFiles::Disk, tentacleFieldText);
  composite.reset();
  composite = filePassProgram(amigaBordersPartFile);
  std::cout << "RELOADED!\n";
}
