// Fade and pulse arithmetic over simulated frames.
#include <gtest/gtest.h>

#include "timeline/beat_sync.h"
#include "timeline/fades.h"

namespace {
BeatSyncItem item(float time, int type, float value, float rate) { return {time, {{type, value, rate}}}; }
constexpr float frame = 1.0f / 60.0f;
}  // namespace

TEST(Fades, WhiteFadeOfRate5p25PeaksAfterAbout0p19s) {
  fades = FadeRecords{};
  beatSyncHandler(item(157.764f, 1, 1.0f, 5.25f));
  float t = 157.764f;
  float peakTime = -1.0f;
  for (int i = 0; i < 60 && peakTime < 0.0f; ++i) {
    t += frame;
    advanceFades(t);
    if (fades.fadeToWhiteValue >= 1.0f) peakTime = t - 157.764f;
  }
  EXPECT_NEAR(peakTime, 0.19f, frame);
  EXPECT_FALSE(fades.whiteActive);
  advanceFades(t + frame);
  EXPECT_EQ(fades.fadeToWhiteValue, 0.0f);
}

TEST(Fades, HeldBlackFadeKeepsReportingUntilTheHoldIsCleared) {
  fades = FadeRecords{};
  testing::internal::CaptureStdout();
  beatSyncHandler(item(53.797f, 10, 1.0f, 1.0f));
  advanceFades(54.5f);
  EXPECT_NEAR(fades.fadeToBlackValue, 0.703f, 1e-3f);
  advanceFades(54.8f);
  advanceFades(54.85f);
  EXPECT_TRUE(fades.blackActive);
  EXPECT_GT(fades.fadeToBlackValue, 1.0f);
  fades.hold = false;  // the part change at 54.906
  advanceFades(54.906f);
  EXPECT_FALSE(fades.blackActive);
  advanceFades(54.92f);
  EXPECT_EQ(fades.fadeToBlackValue, 0.0f);
  const std::string out = testing::internal::GetCapturedStdout();
  size_t lines = 0;
  for (size_t pos = 0; (pos = out.find("FadeDone: ", pos)) != std::string::npos; ++pos) ++lines;
  EXPECT_EQ(lines, 3u);
  EXPECT_NE(out.find("FadeDone: 1.053 ftbdone: 54.85\n"), std::string::npos) << out;
}

TEST(Fades, RampsStopAtZeroAndDecaysStepPerFrame) {
  fades = FadeRecords{};
  beatSyncHandler(item(10.0f, 2, 1.2f, 0.45f));
  advanceFades(11.0f);
  EXPECT_NEAR(fades.lerp1.value, 0.75f, 1e-6f);
  advanceFades(13.0f);
  const float last = fades.lerp1.value;
  EXPECT_LE(last, 0.0f);
  advanceFades(20.0f);
  EXPECT_EQ(fades.lerp1.value, last) << "a spent ramp keeps its last value";

  beatSyncHandler(item(10.0f, 7, 1.0f, 0.05f));
  for (int i = 0; i < 10; ++i) advanceFades(10.0f);
  EXPECT_NEAR(fades.lightPulse.value, 0.5f, 1e-5f);
  for (int i = 0; i < 30; ++i) advanceFades(10.0f);
  EXPECT_LE(fades.lightPulse.value, 0.0f);
}
