// The intro part: what its scene pass shows by part time (black at 0, the fade over at 4 s, no
// dust before 10 s), what beats and music change (desaturation, lens falloff, the relief's
// spectrum bin), the caption timetable and the window at part time 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "render/gl_lists.h"
#include "render/shared_uniforms.h"
#include "scenes/ambient_intro_scene.h"
#include "scenes/intro_captions.h"
#include "tests/support/pass_runner.h"
#include "tests/support/scene_fixture.h"
#include "timeline/fades.h"

namespace {

class IntroTest : public SceneTest {
 protected:
  AmbientIntroScene& intro() { return demoScene<AmbientIntroScene>(0); }
  // The scene pass at part time t, the camera held at song time `song`.
  CpuImage scenePass(float t, float song) { return drawScenePass(intro(), t, song); }
};

}  // namespace

TEST_F(IntroTest, FadeInIsCompleteAtFourSecondsAndNoDustLayerShowsBeforeTen) {
  // The camera held at song time `song`: the tint swings with a period of 4 s of part time, so
  // part times 4 s apart differ only through the fade; from 8 s the dust loop runs, but with one
  // "layer" it draws none until 10 s.
  const struct {
    float a, b, song;
    bool differ;
  } pairs[] = {{4.0f, 8.0f, 6.0f, false}, {3.5f, 7.5f, 6.0f, true}, {5.9f, 9.9f, 20.0f, false}, {5.9f, 13.9f, 20.0f, true}};
  for (const auto& p : pairs) {
    const float change = maxRgbDifference(scenePass(p.a, p.song).rgba, scenePass(p.b, p.song));
    if (p.differ)
      EXPECT_GT(change, 0.01f) << p.a << " against " << p.b;
    else
      EXPECT_LT(change, 1e-4f) << p.a << " against " << p.b;
  }
}

TEST_F(IntroTest, BeatDesaturationShowsTheRedChannelInAllThree) {
  const CpuImage colourful = scenePass(17.0f, 17.0f);
  fades.lerp3.value = 1.0f;
  const CpuImage grey = scenePass(17.0f, 17.0f);
  float spread = 0.0f, worst = 0.0f;
  for (size_t i = 0; i < colourful.rgba.size(); i += 4) {
    spread = std::max({spread, std::fabs(colourful.rgba[i] - colourful.rgba[i + 1]),
                       std::fabs(colourful.rgba[i] - colourful.rgba[i + 2])});
    for (int k = 0; k < 3; ++k) worst = std::max(worst, std::fabs(grey.rgba[i + k] - colourful.rgba[i]));
  }
  EXPECT_GT(spread, 0.02f) << "the undesaturated picture has colour";
  EXPECT_LT(worst, 1e-5f);
}

TEST_F(IntroTest, LightPulsesShrinkTheLensUntilItsEdgeBlackensTheCorners) {
  // lightAdd 4 (a pulse of 2) puts the lens edge at |uv| = 1.65 - 0.125 * 4 = 1.15, inside the
  // square frame's corners; without a pulse it lies outside them.
  const CpuImage calm = scenePass(12.0f, 12.0f);
  fades.lightPulse.value = 2.0f;
  const CpuImage pulsed = scenePass(12.0f, 12.0f);
  int outside = 0;
  for (int y = 0; y < sceneRenderSize; ++y)
    for (int x = 0; x < sceneRenderSize; ++x) {
      const float u = 2.0f * (x + 0.5f) / sceneRenderSize - 1.0f, v = 2.0f * (y + 0.5f) / sceneRenderSize - 1.0f;
      const float radius = std::sqrt(u * u + v * v) / 1.15f;
      const Rgba p = pulsed.texel(x, y), c = calm.texel(x, y);
      EXPECT_GT(std::max({c[0], c[1], c[2]}), 1e-3f) << x << ", " << y;
      const float lit = std::max({p[0], p[1], p[2]});
      EXPECT_TRUE(radius > 1.01f ? lit < 1e-6f : radius >= 0.99f || lit > 1e-5f) << x << ", " << y << ": " << lit;
      outside += radius > 1.01f;
    }
  EXPECT_GT(outside, 10);
}

TEST_F(IntroTest, ReliefReadsTheSpectrumBinPickedByTheNoiseOnceFadedIn) {
  // A uniform rock value rho makes the noise n = rho (1/2 + 1/4 + 1/8 + 1/16) everywhere,
  // chosen so that 256 n = 96.5: the relief reads spectrum bin 96 and no other.
  const FlatPackSlots rock({0}, 96.5f / 256.0f / 0.9375f);
  std::vector<float> bin96(512, 0.0f), beside(512, 0.0f);
  bin96[96] = 0.05f;
  beside[95] = beside[97] = 0.05f;
  for (float t : {0.0f, 6.0f}) {
    SCOPED_TRACE("part time " + std::to_string(t));
    const CpuImage quiet = scenePass(t, 6.0f);
    setTestSpectrum(beside);
    EXPECT_EQ(maxRgbDifference(quiet.rgba, scenePass(t, 6.0f)), 0.0f) << "bins 95 and 97 play no part";
    setTestSpectrum(bin96);
    const CpuImage music = scenePass(t, 6.0f);
    setTestSpectrum(std::vector<float>(512, 0.0f));
    float alphaChange = 0.0f;
    for (size_t i = 3; i < quiet.rgba.size(); i += 4)
      alphaChange = std::max(alphaChange, std::fabs(quiet.rgba[i] - music.rgba[i]));
    if (t == 0.0f)
      EXPECT_EQ(alphaChange, 0.0f) << "no music influence while fading in";
    else
      EXPECT_GT(alphaChange, 0.01f) << "bin 96 lifts the relief, moving the march point";
  }
}

TEST(IntroCaptions, EachCaptionFadesInHoldsAndFadesOutAtItsTimes) {
  const struct {
    float t;
    int slot;
    float alpha;
  } rows[] = {
      {0.0f, 20, 0.0f},   {8.0f, 20, 0.0f},    {8.5f, 20, 0.5f},  {9.0f, 20, 1.0f},  {20.0f, 20, 1.0f},
      {20.75f, 20, 0.25f}, {21.0f, -1, 0.0f},  {23.99f, -1, 0.0f}, {24.5f, 21, 0.5f}, {25.0f, 21, 1.0f},
      {34.5f, 21, 0.5f},  {35.0f, 21, 0.0f},   {38.25f, 22, 0.25f}, {39.0f, 22, 1.0f}, {48.5f, 22, 0.5f},
      {49.0f, 22, 0.0f},  {54.9f, 22, 0.0f},
  };
  for (const auto& row : rows) {
    const IntroCaption caption = introCaptionAt(row.t);
    EXPECT_EQ(caption.packSlot, row.slot) << "t = " << row.t;
    EXPECT_NEAR(caption.alpha, row.alpha, 1e-4f) << "t = " << row.t;
  }
}

TEST_F(IntroTest, AtPartTimeZeroTheWindowIsBlackButForTheBorderLinesAndTheHueIsPublished) {
  const int width = 48, height = 32;
  const CpuImage window = [&] {
    const FlatPackSlots noOverlay({15}, 0.0f);
    return drawFrame(intro(), 0.0f, width, height);
  }();
  EXPECT_FLOAT_EQ(sharedUniforms.hsv, 0.864f) << "written during the intro's frame";
  const float h = height / 10.0f;
  for (int y = 0; y < height; ++y) {
    const bool borderLine = (y + 0.5f >= h && y + 0.5f <= h + 1.5f) || (y + 0.5f >= height - h && y + 0.5f <= height - h + 1.5f);
    for (int x = 0; x < width; ++x) {
      const Rgba p = window.texel(x, y);
      if (borderLine)
        EXPECT_GT(p[0], 0.5f) << x << ", " << y;
      else
        EXPECT_EQ(std::max({p[0], p[1], p[2]}), 0.0f) << x << ", " << y;
    }
  }
}

TEST_F(IntroTest, NoCaptionShowsBetween21And24WhateverSitsOnTheCaptionUnit) {
  auto frameWith = [&](float caption, float t) {
    const FlatPackSlots captions({20, 21, 22}, caption);
    return drawFrame(intro(), t, 24, 16);
  };
  for (float t : {20.5f, 21.0f, 22.5f, 23.9f}) {
    drawFrame(intro(), 20.5f, 24, 16);  // leaves the first caption's texture on the sampler
    const float change = maxRgbDifference(frameWith(1.0f, t).rgba, frameWith(0.0f, t));
    if (t < 21.0f)
      EXPECT_GT(change, 0.3f) << "half of the first caption shows at 20.5 s";
    else
      EXPECT_EQ(change, 0.0f) << "part time " << t;
  }
}
