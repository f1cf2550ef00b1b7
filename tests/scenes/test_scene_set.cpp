// The scene set and the GL half of the frame step: creation order and messages, settings
// copied on the frame the part changes, the SoundTexture holding the raw spectrum, and every
// part finishing its frame in the window.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <typeinfo>

#include "render/display_settings.h"
#include "render/gl_lists.h"
#include "render/shared_uniforms.h"
#include "render/window_target.h"
#include "scenes/abstract_worlds_screen.h"
#include "scenes/ambient_intro_scene.h"
#include "scenes/end_scene.h"
#include "scenes/explode_greets_scene.h"
#include "scenes/frame_step_render.h"
#include "scenes/greets_scene.h"
#include "scenes/scene_set.h"
#include "scenes/tentacle_scene.h"
#include "tests/support/scene_fixture.h"
#include "timeline/beat_sync.h"
#include "timeline/sound_bins.h"

class SceneSet : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    static const bool started = [] {
      settings.renderWidth = settings.renderHeight = sceneRenderSize;
      loadScenesOutput() = captureStdout(loadScenes);
      buildBeatSyncList();
      positionSyncCursor(0.0f);
      return true;
    }();
    (void)started;
  }
  static std::string& loadScenesOutput() {
    static std::string printed;
    return printed;
  }
};

TEST_F(SceneSet, EightScenesInPartOrderWithTheirMessages) {
  ASSERT_EQ(sceneList.size(), 8u);
  EXPECT_EQ(typeid(*sceneList[0]), typeid(AmbientIntroScene));
  EXPECT_EQ(typeid(*sceneList[4]), typeid(ExplodeGreetsScene));
  EXPECT_EQ(typeid(*sceneList[7]), typeid(EndScene));
  EXPECT_NE(loadScenesOutput().find("LOAD TENTACLES\nCreateFrameBuffer: w:24 h:24\n"), std::string::npos)
      << "the private target is made at the render size";
  EXPECT_EQ(packTextures.size(), 29u);
  EXPECT_EQ(renderTextures.size(), 4u);
  EXPECT_EQ(frameBuffers.size(), 3u);
  EXPECT_NE(sceneList[2]->frameBuffer, 0u) << "only the tentacle scene makes its private target";
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
  sharedUniforms.activeDemoPart = 0;
  frameStepWithSpectrum(true, false);
  EXPECT_FLOAT_EQ(sharedUniforms.bloom_threshold1, 0.47f);
  EXPECT_FLOAT_EQ(sharedUniforms.dof3, 15.0f);
  EXPECT_TRUE(sharedUniforms.apply_dof);
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
  EXPECT_EQ(texParameter(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
  EXPECT_FLOAT_EQ(sharedUniforms.fft[0], std::sqrt(0.9f - 1.0f / 32) * 0.5f) << "fft comes from the held copy";
}

TEST_F(SceneSet, EveryPartFinishesItsFrameInTheWindowTarget) {
  const TestTarget window = makeTestTarget(32, 18);
  settings.windowWidth = 32;
  settings.windowHeight = 18;
  windowFramebuffer = window.framebuffer;
  for (int part = 0; part < 8; ++part) {
    glBindFramebuffer(GL_FRAMEBUFFER, window.framebuffer);
    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    sharedUniforms.activeDemoPart = part;
    sharedUniforms.songPosition = 30.0f;
    frameStepWithSpectrum(true, true);
    // Letterbox rows are black in every part, so the clear colour must be gone there.
    EXPECT_EQ(pixelAt(readTargetBytes(window), window, 16, 0)[2], 0) << "part " << part;
  }
  windowFramebuffer = 0;
}
