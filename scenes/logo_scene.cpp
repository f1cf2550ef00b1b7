// The logo part: logo pass, optional pixelate pass, spectrum-bar composite.
#include "scenes/logo_scene.h"

#include "render/gl.h"

#include <algorithm>
#include <iostream>

#include "scenes/composite_files.h"
#include "render/display_settings.h"
#include "render/letterbox_rows.h"
#include "render/post_chain.h"
#include "render/post_pass_files.h"
#include "render/render_targets.h"
#include "render/shared_uniforms.h"
#include "scenes/dust_turns.h"
#include "scenes/pass_programs.h"

namespace {

constexpr float pixelateStart = 18.5f;

}  // namespace

float logoLineCount(float partTime) {
  const float grown = std::max(partTime - 2.0f, 0.0f);
  return grown <= 10.0f ? grown : 7.0f;
}

bool logoPixelates(float partTime) { return partTime >= pixelateStart; }

float logoPixelValue(float partTime) { return (partTime - pixelateStart) * 32.0f; }

void LogoScene::init() {
  BaseDemoScreen::init();
  logoProgram = embeddedPassProgram(logoOverlayFile);
  compositeProgram = embeddedPassProgram(amigaBordersFile);
  pixelateProgram = embeddedPassProgram(pixelatePassPath);
}

void LogoScene::render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) {
  const float partTime = sharedUniforms.songPosition - sharedUniforms.partStart;
  const int pixelateReach =
      logoPixelates(partTime) ? pixelateReachRows(settings.renderHeight, logoPixelValue(partTime)) : 0;
  PassChain chain = beginPassChain(frameBuffers, renderTextures, screenQuad);
  letterboxChain(chain, pixelateReach);
  const uint32_t logo = packSlot(packTextures, logoSlot);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  runScenePass(chain, *logoProgram, [&](uint32_t programId) {
    setSampler(programId, "renderTexture", logo);
    glUniform1f(glGetUniformLocation(programId, "alpha"), 1.0f);
    glUniform1f(glGetUniformLocation(programId, "numLines"), logoLineCount(partTime));
    setDustFrame(programId, logoDustSwirl, sharedUniforms.songPosition, sharedUniforms.partStart);
  });
  if (logoPixelates(partTime)) {
    runPostPass(chain, *pixelateProgram, [&](uint32_t programId) {
      glUniform1f(glGetUniformLocation(programId, "pixelValue"), logoPixelValue(partTime));
    }, pixelateReach);
  }
  runComposite(chain, *compositeProgram, packSlot(packTextures, border3Slot), true);
}

void LogoScene::reload() {
  std::cout << "HOTRELOAD INVOKED!\n";
  logoProgram.reset();
  logoProgram = filePassProgram(logoOverlayFile);
  std::cout << "RELOADED!\n";
}
