// The two greetings scenes on GL at 32 x 32: their ray-marcher builds cleanly from the embedded
// copies and from disk, the frame's own camera and flare values reach the scene program in the
// same frame, the turn of the tiles is kept into the exploding part, the exploding part replays
// identically when entered again, and what each reload replaces.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/display_settings.h"
#include "render/render_targets.h"
#include "render/shared_uniforms.h"
#include "render/window_target.h"
#include "scenes/explode_greets_scene.h"
#include "scenes/greets_scene.h"
#include "scenes/greets_timing.h"
#include "tests/support/gl_context.h"
#include "timeline/fades.h"

namespace {

constexpr int renderSize = 32;
constexpr float greetsStart = 151.909f;
constexpr float explodeStart = 192.289f;

struct SceneWorld {
  GLNameList frameBuffers, renderTextures, packTextures;
};

GLuint solidTexture(float r, float g, float b, float a) {
  std::vector<float> texels;
  for (int i = 0; i < 16; ++i) texels.insert(texels.end(), {r, g, b, a});
  return uploadTestTextureFloat(4, 4, texels.data());
}

SceneWorld& world() {
  static SceneWorld w = [] {
    SceneWorld made;
    settings.renderWidth = settings.renderHeight = renderSize;
    for (int i = 0; i < 3; ++i) {
      made.renderTextures.push_back(createRenderTexture());
      made.frameBuffers.push_back(createFramebuffer(made.renderTextures.back()));
    }
    std::vector<float> spectrum(512, 0.02f);
    made.renderTextures.push_back(createSoundTexture(spectrum.data()));
    made.packTextures.assign(29, 0);
    made.packTextures[12] = solidTexture(1.0f, 1.0f, 1.0f, 1.0f);
    made.packTextures[13] = solidTexture(1.0f, 0.5f, 1.0f, 1.0f);
    made.packTextures[14] = solidTexture(0.5f, 1.0f, 1.0f, 1.0f);
    made.packTextures[17] = solidTexture(0.2f, 0.4f, 0.9f, 1.0f);
    made.packTextures[28] = solidTexture(0.0f, 0.0f, 0.0f, 1.0f);
    return made;
  }();
  return w;
}

// Scenes built once per process; `initOutput` keeps what their init printed.
template <typename Scene>
Scene& initialised(std::string* initOutput = nullptr) {
  static Scene scene;
  static const std::string printed = captureStdout([] { scene.init(); });
  if (initOutput) *initOutput = printed;
  return scene;
}

// One frame at `partTime` into a window target of render size; the window read back.
template <typename Scene>
std::vector<float> drawFrame(Scene& scene, float partStart, float partTime) {
  world();
  fades = FadeRecords{};
  sharedUniforms.partStart = partStart;
  sharedUniforms.songPosition = partStart + partTime;
  settings.renderWidth = settings.renderHeight = renderSize;
  settings.windowWidth = settings.windowHeight = renderSize;
  settings.quality = qualityCopy = 0;
  const TestTarget window = makeTestTarget(renderSize, renderSize, GL_RGBA32F);
  windowFramebuffer = window.framebuffer;
  scene.render(world().frameBuffers, world().renderTextures, world().packTextures);
  glFinish();
  std::vector<float> pixels = readTargetFloats(window);
  windowFramebuffer = 0;
  glDeleteFramebuffers(1, &window.framebuffer);
  glDeleteTextures(1, &window.texture);
  return pixels;
}

float uniformValue(GLuint program, const char* name) {
  float value = -12345.0f;
  glGetUniformfv(program, glGetUniformLocation(program, name), &value);
  return value;
}

bool linked(GLuint program) {
  GLint status = 0;
  glGetProgramiv(program, GL_LINK_STATUS, &status);
  return status == GL_TRUE;
}

}  // namespace

class GreetsSceneTest : public GlTest {};

TEST_F(GreetsSceneTest, EveryProgramBuildsSilentlyFromTheEmbeddedCopies) {
  std::string printed;
  GreetsScene& scene = initialised<GreetsScene>(&printed);
  EXPECT_EQ(printed, "");
  for (const PassProgram* program : {&scene.scene, &scene.bloom, &scene.rgbSplit, &scene.crt, &scene.composite,
                                     &scene.fxaa, &scene.tiles})
    EXPECT_TRUE(linked((*program)->programId));
  EXPECT_EQ(scene.tileMesh.tiles.size(), 3136u);
  std::string explodePrinted;
  ExplodeGreetsScene& explode = initialised<ExplodeGreetsScene>(&explodePrinted);
  EXPECT_EQ(explodePrinted, "");
  EXPECT_TRUE(linked(explode.scene->programId));
  EXPECT_TRUE(linked(explode.tiles->programId));
}

TEST_F(GreetsSceneTest, TheFramesCameraAndFlareReachTheRaymarcherInTheSameFrame) {
  GreetsScene& scene = initialised<GreetsScene>();
  for (float partTime : {4.0f, 20.0f, 30.0f}) {
    sharedUniforms.miscData.fill(0.0f);  // what the frame step copies from the settings
    sharedUniforms.flare_x = sharedUniforms.flare_y = 0.0f;
    drawFrame(scene, greetsStart, partTime);
    const GreetsView view = greetsView(static_cast<double>((greetsStart + partTime) - greetsStart), 0);
    const GLuint program = scene.scene->programId;
    EXPECT_FLOAT_EQ(uniformValue(program, "miscData[0]"), view.miscData[0]) << "part time " << partTime;
    EXPECT_FLOAT_EQ(uniformValue(program, "miscData[3]"), view.miscData[3]) << "part time " << partTime;
    EXPECT_FLOAT_EQ(uniformValue(program, "flare_x"), view.flareX) << "part time " << partTime;
    EXPECT_FLOAT_EQ(uniformValue(program, "flare_y"), view.flareY) << "part time " << partTime;
  }
}

TEST_F(GreetsSceneTest, TheTurnIsKeptAcrossPhasesAndIntoTheExplodingPart) {
  GreetsScene& greets = initialised<GreetsScene>();
  ExplodeGreetsScene& explode = initialised<ExplodeGreetsScene>();
  sharedUniforms.rx = 0.0f;
  sharedUniforms.rz = 7.0f;
  drawFrame(greets, greetsStart, 20.25f);
  const float ry = sharedUniforms.ry;
  EXPECT_NE(ry, 0.0f);
  EXPECT_EQ(sharedUniforms.rx, 0.0f);
  EXPECT_EQ(sharedUniforms.rz, 0.0f) << "the greets part sets rz to 0 every frame";
  drawFrame(greets, greetsStart, 30.3f);
  const float rx = sharedUniforms.rx;
  EXPECT_NE(rx, 0.0f);
  EXPECT_EQ(sharedUniforms.ry, ry);
  drawFrame(explode, explodeStart, 3.0f);
  EXPECT_EQ(sharedUniforms.rx, rx);
  EXPECT_EQ(sharedUniforms.ry, ry);
  EXPECT_EQ(sharedUniforms.rz, 0.0f);
  EXPECT_FLOAT_EQ(uniformValue(explode.scene->programId, "flare_x"), 0.83f);
  EXPECT_FLOAT_EQ(uniformValue(explode.scene->programId, "miscData[1]"), -2.0f - 1.5f * (3.0f - 26.43f));
}

TEST_F(GreetsSceneTest, TheExplodingPartReplaysIdenticallyWhenEnteredAgain) {
  ExplodeGreetsScene& explode = initialised<ExplodeGreetsScene>();
  sharedUniforms.rx = 4.0f;
  sharedUniforms.ry = -3.0f;
  const std::vector<float> times = {0.5f, 2.2f, 3.1f, 4.6f};
  std::vector<std::vector<float>> first;
  for (float t : times) first.push_back(drawFrame(explode, explodeStart, t));
  EXPECT_NE(first[0], first[2]) << "the frames differ along the part";
  for (size_t i = 0; i < times.size(); ++i)
    EXPECT_EQ(drawFrame(explode, explodeStart, times[i]), first[i]) << "part time " << times[i];
}

TEST_F(GreetsSceneTest, ReloadRebuildsTheRaymarcherAndCompositeFromDiskOnly) {
  GreetsScene& scene = initialised<GreetsScene>();
  const GLuint sceneBefore = scene.scene->programId;
  const GLuint compositeBefore = scene.composite->programId;
  const GLuint bloomBefore = scene.bloom->programId;
  const GLuint tilesBefore = scene.tiles->programId;
  const GLuint meshBefore = scene.tileMesh.vao;
  EXPECT_EQ(captureStdout([&] { scene.reload(); }), "HOTRELOAD INVOKED!\nRELOADED!\n");
  EXPECT_NE(scene.scene->programId, sceneBefore);
  EXPECT_NE(scene.composite->programId, compositeBefore);
  EXPECT_TRUE(linked(scene.scene->programId));
  EXPECT_EQ(scene.bloom->programId, bloomBefore);
  EXPECT_EQ(scene.tiles->programId, tilesBefore);
  EXPECT_EQ(scene.tileMesh.vao, meshBefore);
  EXPECT_EQ(greetsRaymarcherSource(ShaderFiles::Disk), greetsRaymarcherSource(ShaderFiles::Embedded));
}

TEST_F(GreetsSceneTest, TheExplodingPartHasNoReloadOfItsOwn) {
  ExplodeGreetsScene& explode = initialised<ExplodeGreetsScene>();
  const GLuint sceneBefore = explode.scene->programId;
  EXPECT_EQ(captureStdout([&] { explode.reload(); }), "");
  EXPECT_EQ(explode.scene->programId, sceneBefore);
}
