// The greetings part: programs, settings and the frame's passes.
#include "scenes/greets_scene.h"

#include "render/gl.h"

#include <iostream>

#include "render/display_settings.h"
#include "scenes/composite_files.h"
#include "render/letterbox_rows.h"
#include "render/post_chain.h"
#include "render/post_pass_files.h"
#include "render/screen_quad.h"
#include "render/shared_uniforms.h"
#include "scenes/dust_turns.h"
#include "scenes/greets_timing.h"
#include "scenes/pass_programs.h"
#include "scenes/raymarcher_source.h"
#include "scenes/rgb_split_offsets.h"
#include "scenes/tile_pass.h"

std::string greetsRaymarcherSource(ShaderFiles files) {
  return raymarcherSource(files,
                          {.gamma = 0.86f, .fov = 0.5f, .iterations = 200, .stepSize = 0.5f, .clipNear = 0.001f,
                           .clipFar = 60.0f, .lightCount = 1, .voronoi = false},
                          greetsSceneFile);
}

SceneSettings greetsSceneSettings() {
  return makeSceneSettings({0.47f, 0.2f, true, 1.4f, 1.5f, 4.5f, 7.5f, false, true});
}

void GreetsScene::init() {
  BaseDemoScreen::init();
  scene = raymarcherProgram(ShaderFiles::Embedded, greetsRaymarcherSource);
  bloom = embeddedPassProgram(bloomPassPath);
  rgbSplit = embeddedPassProgram(rgbSplitPassPath);
  crt = embeddedPassProgram(crtPassPath);
  composite = embeddedPassProgram(amigaBordersFile);
  fxaa = embeddedPassProgram(fxaaPassPath);
  tiles = buildTileProgram();
  tileMesh.buildTiles();
  sceneSettings = greetsSceneSettings();
}

// The net change of one greets frame: camera, flare and turn (rx or ry, by phase, so the
// other keeps its last value) and the tiles' z turn.
void GreetsScene::advance() {
  writeGreetsSharedValues(sharedUniforms.songPosition - sharedUniforms.partStart, qualityCopy, sharedUniforms);
  sharedUniforms.rz = 0.0f;
}

void GreetsScene::render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) {
  const float songPosition = sharedUniforms.songPosition;
  const double partTime = songPosition - sharedUniforms.partStart;
  // Camera, flare and turn go into the shared values before any pass uploads them.
  writeGreetsSharedValues(partTime, qualityCopy, sharedUniforms);

  const int fxaaReach = sceneSettings.apply_fxaa ? fxaaReachRows() : 0;
  PassChain chain = beginPassChain(frameBuffers, renderTextures, screenQuad);
  letterboxChain(chain, fxaaReach);
  runScenePass(chain, *scene, [](uint32_t p) {
    setDustFrame(p, greetsDustSwirl, sharedUniforms.songPosition, sharedUniforms.partStart);
  });
  glClearColor(1.0f, 0.5f, 0.0f, 1.0f);  // takes effect at the next clear
  runPostPass(chain, *bloom);
  runPostPass(chain, *crt);
  runPostPass(chain, *rgbSplit, setRgbSplitOffsets);

  sharedUniforms.rz = 0.0f;
  const TilePlacement placement = greetsTilePlacement(partTime, songPosition);
  tileMesh.position = placement.position;
  tileMesh.exploding = placement.exploding;
  runTilePass(chain, tileMesh, *tiles, packSlot(packTextures, greetsImageSlot(partTime)), placement.meshTime);

  if (sceneSettings.apply_fxaa) runPostPass(chain, *fxaa, {}, fxaaReach);
  runComposite(chain, *composite, packSlot(packTextures, border3Slot), true);
}

void GreetsScene::reload() {
  std::cout << "HOTRELOAD INVOKED!\n";
  scene.reset();
  scene = raymarcherProgram(ShaderFiles::Disk, greetsRaymarcherSource);
  composite.reset();
  composite = filePassProgram(amigaBordersFile);
  std::cout << "RELOADED!\n";
}
