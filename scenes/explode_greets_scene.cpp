// The exploding greetings part: programs, settings and the frame's passes.
#include "scenes/explode_greets_scene.h"

#include "render/composite_files.h"
#include "render/post_chain.h"
#include "scenes/pass_programs.h"
#include "render/post_pass_files.h"
#include "render/render_targets.h"
#include "render/shared_uniforms.h"
#include "scenes/rgb_split_offsets.h"
#include "scenes/scene_shader_files.h"

void ExplodeGreetsScene::init() {
  BaseDemoScreen::init();
  bloom = embeddedPassProgram(bloomPassPath);
  rgbSplit = embeddedPassProgram(rgbSplitPassPath);
  logoFade = embeddedPassProgram(logoFadeFile);
  fxaa = embeddedPassProgram(fxaaPassPath);
  composite = embeddedPassProgram(amigaBordersFile);
  sceneSettings = makeSceneSettings({0.47f, 0.2f, true, 1.4f, 1.5f, 4.5f, 7.5f, false, true});
}

void ExplodeGreetsScene::render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) {
  const float pt = sharedUniforms.songPosition - sharedUniforms.partStart;
  PassChain chain = beginPassChain(frameBuffers, renderTextures, screenQuad);
  runBlackScenePass(chain);  // the structure and the exploding tiles come with the scene's own issue
  runPostPass(chain, *bloom);
  runPostPass(chain, *rgbSplit, setRgbSplitOffsets);
  // The logo reads its pack image, not the previous pass, and fills the whole target.
  runPostPass(chain, *logoFade, [&](uint32_t p) {
    setSampler(p, "renderTexture", packSlot(packTextures, 17));
    setUniformFloat(p, "alpha", pt < 2.694f ? 0.0f : pt - 2.694f);
  });
  if (sceneSettings.apply_fxaa) runPostPass(chain, *fxaa);
  runComposite(chain, *composite, packSlot(packTextures, 28), true);
}
