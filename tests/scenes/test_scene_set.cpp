// The scene set and the GL half of the frame step: creation order and messages, settings
// copied on the frame the part changes, the SoundTexture holding the raw spectrum, and a
// finished frame in the window target.
#include <gtest/gtest.h>

#include <cmath>
#include <typeinfo>

#include "render/display_settings.h"
#include "render/gl_lists.h"
#include "render/shared_uniforms.h"
#include "render/window_target.h"
#include "scenes/ambient_intro_scene.h"
#include "scenes/base_demo_screen.h"
#include "scenes/end_scene.h"
#include "scenes/explode_greets_scene.h"
#include "scenes/frame_step_render.h"
#include "scenes/scene_set.h"
#include "tests/support/gl_context.h"
#include "timeline/beat_sync.h"
#include "timeline/sound_bins.h"

namespace {

// One scene set and one set of shared targets for the whole test program, as in the demo.
std::string startUpOutput;

void startOnce() {
  if (!sceneList.empty()) return;
  settings.renderWidth = settings.renderHeight = 16;
  settings.windowWidth = 32;
  settings.windowHeight = 18;
  startUpOutput = captureStdout([] {
    loadScenes();
    createFrameResources();
  });
  buildBeatSyncList();
  positionSyncCursor(0.0f);
}

}  // namespace

class SceneSet : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    startOnce();
  }
};

TEST_F(SceneSet, EightScenesInPartOrderWithTheirMessages) {
  ASSERT_EQ(sceneList.size(), 8u);
  EXPECT_EQ(typeid(*sceneList[0]), typeid(AmbientIntroScene));
  EXPECT_EQ(typeid(*sceneList[4]), typeid(ExplodeGreetsScene));
  EXPECT_EQ(typeid(*sceneList[7]), typeid(EndScene));
  const std::string expected =
      "LOAD INTRO\nLOAD ABSTRACT WORLDS\nLOAD TENTACLES\nCreateFrameBuffer: w:16 h:16\nLOAD GREETS\n"
      "LOAD EXPLODE GREETS\nLOAD LOGO\nLOAD MENGER\nLOAD END SCENE\n";
  EXPECT_EQ(startUpOutput.substr(0, expected.size()), expected);
  EXPECT_EQ(packTextures.size(), 29u);
  EXPECT_EQ(renderTextures.size(), 4u);
  EXPECT_EQ(frameBuffers.size(), 3u);
  EXPECT_EQ(captureStdout([] { sceneList[4]->reload(); }), "") << "the explode scene keeps the empty reload";
  EXPECT_NE(sceneList[2]->frameBuffer, 0u);
  EXPECT_EQ(sceneList[1]->frameBuffer, 0u);
}

TEST_F(SceneSet, SettingsFollowThePartOnTheSameFrame) {
  sharedUniforms.activeDemoPart = 1;
  frameStepWithSpectrum(true, false);
  EXPECT_FLOAT_EQ(sharedUniforms.bloom_threshold1, 0.67f);
  EXPECT_FLOAT_EQ(sharedUniforms.crt_threshold, 1.4f);
  EXPECT_FLOAT_EQ(sharedUniforms.miscData[5], 6.207f);
  EXPECT_FALSE(sharedUniforms.apply_dof);
  sharedUniforms.activeDemoPart = 5;
  frameStepWithSpectrum(true, false);
  EXPECT_FALSE(sharedUniforms.apply_bloom);
  EXPECT_FLOAT_EQ(sharedUniforms.miscData[5], 0.0f);
  sharedUniforms.activeDemoPart = 2;
  frameStepWithSpectrum(true, false);
  EXPECT_FLOAT_EQ(sharedUniforms.miscData[3], 71.86f);
  EXPECT_FLOAT_EQ(sharedUniforms.dof3, 15.0f);
}

TEST_F(SceneSet, SoundTextureHoldsTheRawSpectrumNotTheHeldOne) {
  spectrum.held.fill(0.9f);
  for (int i = 0; i < spectrumBins; ++i) spectrum.raw[i] = i / 1024.0f;
  sharedUniforms.activeDemoPart = 0;
  frameStepWithSpectrum(true, false);
  std::vector<float> texels(512);
  glBindTexture(GL_TEXTURE_2D, renderTextures[3]);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RED, GL_FLOAT, texels.data());
  for (int i = 0; i < 512; i += 31) EXPECT_FLOAT_EQ(texels[i], i / 1024.0f);
  GLint filter = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
  EXPECT_EQ(filter, GL_NEAREST);
  EXPECT_FLOAT_EQ(sharedUniforms.fft[0], std::sqrt(0.9f - 1.0f / 32) * 0.5f) << "fft comes from the held copy";
}

TEST_F(SceneSet, EveryPartFinishesItsFrameInTheWindowTarget) {
  const TestTarget window = makeTestTarget(32, 18);
  windowFramebuffer = window.framebuffer;
  for (int part = 0; part < 8; ++part) {
    glBindFramebuffer(GL_FRAMEBUFFER, window.framebuffer);
    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    sharedUniforms.activeDemoPart = part;
    sharedUniforms.songPosition = 30.0f;
    frameStepWithSpectrum(true, true);
    // Letterbox rows are black in every part, so the clear colour must be gone there.
    const std::vector<uint8_t> pixels = readTargetBytes(window);
    EXPECT_EQ(pixelAt(pixels, window, 16, 0)[2], 0) << "part " << part;
  }
  windowFramebuffer = 0;
}
