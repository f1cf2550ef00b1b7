// Peak hold, the weighted fft array and the frame-step order on the CPU.
#include <gtest/gtest.h>

#include <cmath>

#include "render/shared_uniforms.h"
#include "timeline/beat_sync.h"
#include "timeline/fades.h"
#include "timeline/frame_step.h"
#include "timeline/sound_bins.h"

TEST(PeakHold, RiseNeedsMoreThanOneSixtyFourth) {
  SpectrumBins raw{}, held{};
  held[0] = 0.5f;
  raw[0] = 0.5f + 0.015625f;  // exactly 1/64 above: decays instead
  held[1] = 0.5f;
  raw[1] = 0.6f;
  held[2] = 0.01f;
  applyPeakHold(raw, held);
  EXPECT_FLOAT_EQ(held[0], 0.46875f);
  EXPECT_FLOAT_EQ(held[1], 0.6f);
  EXPECT_FLOAT_EQ(held[2], -0.02125f);
  applyPeakHold(raw, held);
  EXPECT_EQ(held[2], 0.0f) << "any raw value >= 0 replaces -0.02125";
}

TEST(FftArray, WeightsRiseTo2Point2775AndSilenceOrHeldBelowZeroGivesTheFloor) {
  SpectrumBins snapshot{};
  std::array<float, 512> fft{};
  snapshot[7] = -0.02125f;  // 0.01 after one frame of decay
  snapshot[511] = -0.5f;
  computeFftArray(snapshot, fft);
  for (float v : fft) ASSERT_EQ(v, 0.01f);
  snapshot.fill(0.25f);
  computeFftArray(snapshot, fft);
  EXPECT_FLOAT_EQ(fft[0], 0.25f);
  EXPECT_FLOAT_EQ(fft[511], std::sqrt(0.25f * 2.2775f) * 0.5f);
}

TEST(FftArray, NoNaNWhileLoudBinsFallSilent) {
  // Raw values that do not divide evenly by the 1/32 decay leave held bins a little below
  // zero once the music goes quiet.
  spectrum = SpectrumState{};
  for (int i = 0; i < spectrumBins; ++i) spectrum.raw[i] = 0.01f + 0.003f * static_cast<float>(i % 97);
  SceneSettings settings;
  registerBeatSyncCallback([](BeatSyncItem) {});
  int negativeBins = 0;
  for (int frame = 0; frame < 40; ++frame) {
    advanceFrameTimeline(0.0f, true, settings);
    spectrum.raw.fill(0.0f);
    for (int i = 0; i < spectrumBins; ++i) {
      ASSERT_FALSE(std::isnan(sharedUniforms.fft[i])) << "bin " << i << " on frame " << frame;
      ASSERT_GE(sharedUniforms.fft[i], 0.01f);
      if (spectrum.snapshot[i] < 0.0f) ++negativeBins;
    }
  }
  EXPECT_GT(negativeBins, 0) << "the silence should leave some held bins below zero";
  registerBeatSyncCallback(beatSyncHandler);
}

TEST(FrameStep, PublishesSettingsAndFiresOneItem) {
  SceneSettings settings;
  settings.bloom_threshold1 = 0.47f;
  settings.apply_dof = true;
  buildBeatSyncList();
  int fired = 0;
  registerBeatSyncCallback([&](BeatSyncItem) { ++fired; });
  spectrum = SpectrumState{};
  spectrum.raw[5] = 0.3f;
  testing::internal::CaptureStdout();
  advanceFrameTimeline(10.0f, false, settings);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Unable to read channel data\n");
  EXPECT_EQ(fired, 1);
  EXPECT_EQ(sharedUniforms.bloom_threshold1, 0.47f);
  EXPECT_TRUE(sharedUniforms.apply_dof);
  EXPECT_FLOAT_EQ(sharedUniforms.fft[5], std::sqrt(0.3f * static_cast<float>(1.0 + 0.0025 * 5)) * 0.5f);
  EXPECT_EQ(spectrum.snapshot[5], spectrum.held[5]);
  registerBeatSyncCallback(beatSyncHandler);
}
