// The exploding greetings part: programs, settings and the frame's passes.
#include "scenes/explode_greets_scene.h"

#include "render/gl.h"

#include "geometry/tile_sampled_rows.h"
#include "scenes/composite_files.h"
#include "render/display_settings.h"
#include "render/letterbox_rows.h"
#include "render/post_chain.h"
#include "render/post_pass_files.h"
#include "render/render_targets.h"
#include "render/screen_quad.h"
#include "render/shared_uniforms.h"
#include "scenes/dust_turns.h"
#include "scenes/greets_scene.h"
#include "scenes/greets_timing.h"
#include "scenes/pass_programs.h"
#include "scenes/raymarcher_source.h"
#include "scenes/rgb_split_offsets.h"
#include "scenes/scene_shader_files.h"
#include "scenes/tile_pass.h"

void ExplodeGreetsScene::init() {
  BaseDemoScreen::init();
  scene = raymarcherProgram(ShaderFiles::Embedded, greetsRaymarcherSource);
  bloom = embeddedPassProgram(bloomPassPath);
  rgbSplit = embeddedPassProgram(rgbSplitPassPath);
  composite = embeddedPassProgram(amigaBordersFile);
  logoFade = embeddedPassProgram(logoFadeFile);
  fxaa = embeddedPassProgram(fxaaPassPath);
  tiles = buildTileProgram();
  tileMesh.buildTiles();
  sceneSettings = greetsSceneSettings();
}

void ExplodeGreetsScene::advance() {
  writeExplodeSharedValues(sharedUniforms.songPosition - sharedUniforms.partStart, sharedUniforms);
}

void ExplodeGreetsScene::render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) {
  const float partTime = sharedUniforms.songPosition - sharedUniforms.partStart;
  advance();

  const TilePlacement placement = explodeTilePlacement(partTime);
  tileMesh.position = placement.position;
  tileMesh.opacity = 1.0f;
  tileMesh.shimmer = false;
  tileMesh.exploding = placement.exploding;

  // The finished picture reaches the window only through the tiles: the passes up to it draw
  // just the rows that tiles landing in the letterbox band (widened by FXAA's reach) sample.
  const int fxaaReach = sceneSettings.apply_fxaa ? fxaaReachRows() : 0;
  const int height = settings.renderHeight;
  tileMesh.rebuildVertices(4.0 * placement.meshTime);  // as drawTiles will
  PassChain chain = beginPassChain(frameBuffers, renderTextures, screenQuad);
  limitChainRows(chain, tileSampledRows(tileMesh, tileMesh.frameMvp(), letterboxedRows(height, fxaaReach), height), 0);
  runScenePass(chain, *scene, [](uint32_t p) {
    setDustFrame(p, greetsDustSwirl, sharedUniforms.songPosition, sharedUniforms.partStart);
  });
  glClearColor(1.0f, 0.5f, 0.0f, 1.0f);  // takes effect at the next clear
  runPostPass(chain, *bloom);
  runPostPass(chain, *rgbSplit, setRgbSplitOffsets);
  const uint32_t finishedPicture = chain.lastTexture;
  // From the logo on, the passes draw what the letterbox band shows, as the greets part's do.
  letterboxChain(chain, fxaaReach);

  // The logo reads its pack image, not the previous pass, and fills the whole target.
  runPostPass(chain, *logoFade, [&](uint32_t p) {
    setSampler(p, "renderTexture", packSlot(packTextures, logoSlot));
    setUniformFloat(p, "alpha", explodeLogoAlpha(partTime));
  });

  runTilePass(chain, tileMesh, *tiles, finishedPicture, placement.meshTime);

  if (sceneSettings.apply_fxaa) runPostPass(chain, *fxaa, {}, fxaaReach);
  runComposite(chain, *composite, packSlot(packTextures, border3Slot), true);
}
