// The logo and end parts: the logo's line count and pixelate timing, the logo image showing
// through its pass with dark lines only from 2 s; the end picture's centre line, the logo strips
// unrolled around it, the linear fade from 5 s and black from 6 s, all at window size.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "render/gl_lists.h"
#include "scenes/logo_scene.h"
#include "tests/support/scene_fixture.h"

TEST(LogoTiming, LinesGrowFromTwoSecondsToTenThenDropToSevenAndPixelationStartsAtEighteenAndAHalf) {
  const float times[] = {0.0f, 1.99f, 2.5f, 7.0f, 12.0f, 12.01f, 19.6f};
  const float lines[] = {0.0f, 0.0f, 0.5f, 5.0f, 10.0f, 7.0f, 7.0f};
  for (int i = 0; i < 7; ++i) EXPECT_FLOAT_EQ(logoLineCount(times[i]), lines[i]) << "t = " << times[i];
  EXPECT_FALSE(logoPixelates(18.49f));
  EXPECT_TRUE(logoPixelates(18.5f));
  EXPECT_EQ(logoPixelValue(18.5f), 0.0f);
  EXPECT_NEAR(logoPixelValue(19.6f), 35.2f, 1e-3f);
}

namespace {

class LogoAndEnd : public SceneTest {};

int pixelsBelow(const CpuImage& picture, float level) {
  int count = 0;
  for (size_t i = 0; i < picture.rgba.size(); i += 4) count += std::max({picture.rgba[i], picture.rgba[i + 1], picture.rgba[i + 2]}) < level;
  return count;
}

constexpr int endWidth = 48, endHeight = 100;  // the centre line: rows 50 and 51

float rowBrightest(const CpuImage& window, int y) {
  float brightest = 0.0f;
  for (int x = 0; x < window.width; ++x) brightest = std::max({brightest, window.texel(x, y)[0], window.texel(x, y)[1], window.texel(x, y)[2]});
  return brightest;
}

}  // namespace

TEST_F(LogoAndEnd, TheLogoShowsThroughItsPassWithDarkLinesOnlyFromTwoSeconds) {
  BaseDemoScreen& logo = demoScene(5);
  {
    const FlatPackSlots white({17}, 1.0f);
    // Dust only brightens: with a white logo every dark pixel belongs to a line.
    EXPECT_EQ(pixelsBelow(drawScenePass(logo, 1.9f), 0.5f), 0) << "no lines before 2 s";
    EXPECT_GT(pixelsBelow(drawScenePass(logo, 7.0f), 0.5f), 8) << "five dark lines";
  }
  const FlatPackSlots black({17}, 0.0f);
  EXPECT_GT(pixelsBelow(drawScenePass(logo, 1.9f), 0.1f), sceneRenderSize * sceneRenderSize * 3 / 4) << "black logo";
}

TEST_F(LogoAndEnd, EndShowsTheCentreLineThenTheUnrolledLogoFadingOutFromFiveSeconds) {
  BaseDemoScreen& end = demoScene(7);
  const FlatPackSlots image({27}, 1.0f);
  const CpuImage first = drawFrame(end, 0.0f, endWidth, endHeight);
  for (int y = 0; y < endHeight; ++y) {
    const bool centreLine = y == 50 || y == 51;
    EXPECT_EQ(rowBrightest(first, y) > 0.6f, centreLine) << "row " << y << " at part time 0";
    if (centreLine) {
      EXPECT_EQ(first.texel(4, y)[0], 0.0f) << "outside the box from 22 % to 78 % of the width";
    }
  }
  const CpuImage open = drawFrame(end, 3.0f, endWidth, endHeight), half = drawFrame(end, 5.5f, endWidth, endHeight);
  const CpuImage full = drawFrame(end, 5.0f, endWidth, endHeight), begun = drawFrame(end, 5.05f, endWidth, endHeight);
  for (int y = 0; y < endHeight; ++y) {
    if (y == 50 || y == 51) continue;
    const float uvY = (y + 0.5f) / endHeight;
    if (uvY > 0.46f && uvY < 0.54f) {
      EXPECT_EQ(open.texel(2, y)[0], 1.0f) << "logo across the full width, row " << y;
    }
    if (uvY < 0.40f || uvY > 0.65f) {
      EXPECT_EQ(rowBrightest(open, y), 0.0f) << "row " << y;
    }
    for (int x = 0; x < endWidth; ++x) {
      EXPECT_NEAR(half.texel(x, y)[0], 0.5f * full.texel(x, y)[0], 1e-3f) << x << ", " << y;
      EXPECT_NEAR(begun.texel(x, y)[0], 0.95f * full.texel(x, y)[0], 1e-3f) << x << ", " << y;
    }
  }
  for (float t : {6.0f, 6.7f}) {
    const CpuImage black = drawFrame(end, t, endWidth, endHeight);
    // Part time is a float difference of song times, so 6.0 may land a few ulps short of it.
    for (int y = 0; y < endHeight; ++y) EXPECT_LT(rowBrightest(black, y), 0.5f / 255.0f) << "row " << y << " at " << t;
  }
}
