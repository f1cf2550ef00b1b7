// The abstract worlds part: the black override of its first second, the cloud sky only between
// 8 s and 28 s, and a broken library snippet reported with the whole assembled text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

#include "render/shared_uniforms.h"
#include "scenes/abstract_worlds_screen.h"
#include "tests/support/scene_fixture.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_paths.h"

namespace {

class AbstractWorldsTest : public SceneTest {
 protected:
  AbstractWorldsScreen& worlds() { return demoScene<AbstractWorldsScreen>(1); }
  // The scene pass with the sky switch (miscData[11]) on or off.
  CpuImage scenePass(float t, bool sky) {
    float& skySwitch = worlds().sceneSettings.miscData[11];
    const float kept = skySwitch;
    skySwitch = sky ? 1.0f : 0.0f;
    CpuImage picture = drawScenePass(worlds(), t);
    skySwitch = kept;
    return picture;
  }
};

int differingPixels(const CpuImage& a, const CpuImage& b, float tolerance) {
  int count = 0;
  for (size_t i = 0; i < a.rgba.size(); i += 4)
    for (int c = 0; c < 3; ++c)
      if (std::fabs(a.rgba[i + c] - b.rgba[i + c]) > tolerance) {
        ++count;
        break;
      }
  return count;
}

// Pixels of the top quarter (far above the horizon) that lean like the fog colour (0.6, 0.3,
// 0.2): red over green over blue.
int fogLikeTopPixels(const CpuImage& p) {
  int count = 0;
  for (int y = p.height * 3 / 4; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const Rgba c = p.texel(x, y);
      count += c[0] > c[1] && c[1] > c[2];
    }
  return count;
}

constexpr int topPixels = sceneRenderSize * sceneRenderSize / 4;

}  // namespace

TEST_F(AbstractWorldsTest, TheWindowIsBlackAtPartTimeZeroAndTheOverrideFallsToZeroOverTheFirstSecond) {
  const CpuImage first = drawFrame(worlds(), 0.0f, 32, 18);
  EXPECT_FLOAT_EQ(sharedUniforms.overridden_black_fac, 1.0f);
  float brightest = 0.0f;  // rows 3 to 14: inside the letterbox, clear of the border lines
  for (int y = 3; y < 15; ++y)
    for (int x = 0; x < 32; ++x) brightest = std::max({brightest, first.texel(x, y)[0], first.texel(x, y)[1], first.texel(x, y)[2]});
  EXPECT_EQ(brightest, 0.0f);
  drawFrame(worlds(), 0.25f, 32, 18);
  EXPECT_FLOAT_EQ(sharedUniforms.overridden_black_fac, 0.75f);
  const CpuImage later = drawFrame(worlds(), 1.0f, 32, 18);
  EXPECT_EQ(sharedUniforms.overridden_black_fac, 0.0f);
  EXPECT_NEAR(abstractWorldsBlackFactor(0.999f), 0.001f, 1e-6f);
  EXPECT_FLOAT_EQ(abstractWorldsBlackFactor(30.0f), 0.0f);
  EXPECT_GT(differingPixels(first, later, 0.02f), 32 * 18 / 4);
}

TEST_F(AbstractWorldsTest, SkyAndMoonOnlyBetweenEightAndTwentyEightSeconds) {
  ASSERT_EQ(worlds().sceneSettings.miscData[11], 1.0f);
  // Outside the sky's span the switch changes nothing: missed rays keep the fog colour.
  for (float t : {7.9f, 8.0f, 28.0f, 28.1f, 40.0f}) {
    const CpuImage on = scenePass(t, true);
    EXPECT_EQ(differingPixels(on, scenePass(t, false), 0.0f), 0) << "t = " << t;
    // From about 40 s the cube columns reach into the top rows; before that only missed rays.
    if (t < 29.0f) {
      EXPECT_GT(fogLikeTopPixels(on), topPixels * 3 / 4) << "t = " << t;
    }
  }
  // Just after 8 s the camera is still high and only the topmost rays miss.
  EXPECT_GT(differingPixels(scenePass(8.1f, true), scenePass(8.1f, false), 0.02f), 0);
  for (float t : {15.1f, 27.9f}) {
    const CpuImage on = scenePass(t, true), off = scenePass(t, false);
    EXPECT_GT(differingPixels(on, off, 0.02f), topPixels / 2) << "t = " << t;
    EXPECT_LT(fogLikeTopPixels(on), topPixels / 4) << "t = " << t;
    EXPECT_GT(fogLikeTopPixels(off), topPixels * 3 / 4) << "t = " << t;
  }
}

TEST_F(AbstractWorldsTest, ABrokenSceneFileIsReportedWithTheWholeAssembledText) {
  AbstractWorldsScreen& scene = worlds();
  {
    TempDir dir;
    std::filesystem::copy(std::filesystem::path(testSourceDir()) / "shaders", dir.path() / "shaders",
                          std::filesystem::copy_options::recursive);
    dir.write("shaders/scenes/abstractworlds.glsl", "this does not compile\n");
    ScopedWorkingDir inside(dir.path());
    const std::string report = captureStdout([&] { scene.reload(); });
    EXPECT_EQ(report.rfind("HOTRELOAD INVOKED!\n", 0), 0u) << report.substr(0, 200);
    // The assembly starts with the basic snippet's version line and ends with the scene file.
    EXPECT_NE(report.find("ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT\nFile: #version 140\n"), std::string::npos);
    EXPECT_NE(report.find("\nthis does not compile"), std::string::npos);
    EXPECT_EQ(report.rfind("RELOADED!\n"), report.size() - 10);
  }
  EXPECT_GT(drawFrame(scene, 15.1f, 32, 18).texel(16, 2)[0], 0.6f) << "the composite still drew its border line";
  while (glGetError() != GL_NO_ERROR) {
  }  // using the unlinked scene program is an invalid operation GL records; nothing more
  captureStdout([&] { scene.reload(); });  // the source tree's files again, for later tests
}
