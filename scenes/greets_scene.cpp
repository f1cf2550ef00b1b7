// The greetings part: programs, settings and the frame's passes.
#include "scenes/greets_scene.h"

#include <GL/glew.h>

#include <iostream>

#include "app/settings.h"
#include "render/composite_files.h"
#include "render/post_chain.h"
#include "render/post_pass_files.h"
#include "render/screen_quad.h"
#include "render/shader_source_builder.h"
#include "render/shared_uniforms.h"
#include "scenes/greets_timing.h"
#include "scenes/pass_programs.h"
#include "scenes/rgb_split_offsets.h"
#include "scenes/tile_pass.h"

namespace {

constexpr size_t overlaySlot = 28;  // "border3.png"

PassProgram raymarcherProgram(ShaderFiles files) {
  const std::string vertex = files == ShaderFiles::Embedded ? screenQuadVertexSource() : screenQuadVertexPath;
  return std::make_unique<ShaderProgram>(false, vertex, greetsRaymarcherSource(files), "");
}

}  // namespace

std::string greetsRaymarcherSource(ShaderFiles files) {
  ShaderSourceBuilder builder;
  builder.files = files;
  return builder.begin(0.86f)
      .addRaymarching(0.5f, 200, 0.5f, 0.001f, 60.0f)
      .addLights(1)
      .addFile("./shaders/lib/axis_rotation.glsl")
      .addFile("./shaders/lib/simplex_noise.glsl")
      .addFile("./shaders/lib/cheap_fog.glsl")
      .addFile("./shaders/lib/mist.glsl")
      .addFile("./shaders/lib/texture_noise.glsl")
      .addFile(greetsSceneFile)
      .build();
}

void GreetsScene::init() {
  BaseDemoScreen::init();
  scene = raymarcherProgram(ShaderFiles::Embedded);
  bloom = embeddedPassProgram(bloomPassPath);
  rgbSplit = embeddedPassProgram(rgbSplitPassPath);
  crt = embeddedPassProgram(crtPassPath);
  composite = embeddedPassProgram(amigaBordersFile);
  fxaa = embeddedPassProgram(fxaaPassPath);
  tiles = buildTileProgram();
  tileMesh.buildTiles();
  sceneSettings = makeSceneSettings({0.47f, 0.2f, true, 1.4f, 1.5f, 4.5f, 7.5f, false, true});
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

  PassChain chain = beginPassChain(frameBuffers, renderTextures, screenQuad);
  runScenePass(chain, *scene);
  glClearColor(1.0f, 0.5f, 0.0f, 1.0f);  // takes effect at the next clear
  runPostPass(chain, *bloom);
  runPostPass(chain, *crt);
  runPostPass(chain, *rgbSplit, setRgbSplitOffsets);

  sharedUniforms.rz = 0.0f;
  const TilePlacement placement = greetsTilePlacement(partTime, songPosition);
  tileMesh.position = placement.position;
  tileMesh.exploding = placement.exploding;
  runTilePass(chain, tileMesh, *tiles, packSlot(packTextures, greetsImageSlot(partTime)), placement.meshTime);

  if (sceneSettings.apply_fxaa) runPostPass(chain, *fxaa);
  runComposite(chain, *composite, packSlot(packTextures, overlaySlot), true);
}

void GreetsScene::reload() {
  std::cout << "HOTRELOAD INVOKED!\n";
  scene.reset();
  scene = raymarcherProgram(ShaderFiles::Disk);
  composite.reset();
  composite = filePassProgram(amigaBordersFile);
  std::cout << "RELOADED!\n";
}
