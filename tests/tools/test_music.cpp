// The generated music: its score follows the demo's sync list and part table, a short render
// is reproducible and opens quietly, and the full track decodes long, clean and on the beat.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "timeline/audio.h"
#include "timeline/beat_sync.h"
#include "tools/make_music/mp3_encoder.h"
#include "tools/make_music/score.h"
#include "tools/make_music/track.h"

namespace {

std::vector<double> syncTimes(int type, double below) {
  std::vector<double> times;
  for (const BeatSyncItem& item : makeBeatSyncList())
    for (const SyncAction& action : item.actions)
      if (action.type == type && item.time < below) times.push_back(item.time);
  return times;
}

std::string tempPath(const char* name) {
  return (std::filesystem::temp_directory_path() / (std::string("tarvik_music_") + name)).string();
}

// Renders, encodes and decodes through the demo's own audio layer.
bool generateAndDecode(double seconds, const char* name, DecodedAudio& decoded, std::vector<unsigned char>& mp3) {
  std::string error;
  mp3 = encodeMp3(renderTrack(makeScore(seconds)), error);
  const std::string path = tempPath(name);
  const bool ok = !mp3.empty() && writeFile(path.c_str(), mp3, error) && decodeAudioFile(path.c_str(), decoded);
  std::remove(path.c_str());
  return ok;
}

double seconds(const DecodedAudio& audio) {
  return static_cast<double>(audio.samples.size()) / audio.channels / audio.sampleRate;
}

float peak(const DecodedAudio& audio) {
  float p = 0.0f;
  for (float s : audio.samples) p = std::max(p, std::fabs(s));
  return p;
}

double rms(const DecodedAudio& audio, double from, double to) {
  const size_t first = static_cast<size_t>(from * audio.sampleRate) * audio.channels;
  const size_t last = std::min(audio.samples.size(), static_cast<size_t>(to * audio.sampleRate) * audio.channels);
  double sum = 0.0;
  for (size_t i = first; i < last; ++i) sum += audio.samples[i] * audio.samples[i];
  return last > first ? std::sqrt(sum / static_cast<double>(last - first)) : 0.0;
}

// Energy of the kick and snare body region (bins 1..8, about 43 to 350 Hz).
float lowBand(const DecodedAudio& audio, double t) {
  float bins[512];
  spectrumAt(audio, t, bins);
  float sum = 0.0f;
  for (int i = 1; i <= 8; ++i) sum += bins[i];
  return sum;
}

// How much the low band rises over the 30 ms that follow t.
float onsetRise(const DecodedAudio& audio, double t) {
  return std::max(0.0f, lowBand(audio, t + 0.025) - lowBand(audio, t - 0.005));
}


}  // namespace

TEST(MusicScore, HitsFallOnTheSyncTimes) {
  const Score score = makeScore(trackLength);
  EXPECT_EQ(score.kicks, syncTimes(7, trackLength)) << "a kick on every light pulse";
  EXPECT_EQ(score.snares, syncTimes(8, trackLength)) << "a snare on every crt pulse";
  EXPECT_EQ(score.crashes, syncTimes(1, trackLength)) << "a crash on every fade to white";
  EXPECT_EQ(score.hats, syncTimes(3, trackLength));
  EXPECT_EQ(score.bars, syncTimes(2, trackLength));
  std::vector<double> blacks = syncTimes(4, trackLength);
  for (double t : syncTimes(10, trackLength)) blacks.push_back(t);
  std::sort(blacks.begin(), blacks.end());
  EXPECT_EQ(score.sweepTargets, blacks) << "a sweep into every fade to black";
  EXPECT_FALSE(score.kicks.empty());
  EXPECT_GT(score.kicks.front(), 42.6) << "no kick before the light pulses start";
}

TEST(MusicTrack, ShortRenderIsReproducibleAndOpensQuietly) {
  DecodedAudio first, second;
  std::vector<unsigned char> firstMp3, secondMp3;
  ASSERT_TRUE(generateAndDecode(16.0, "short_a.mp3", first, firstMp3));
  ASSERT_TRUE(generateAndDecode(16.0, "short_b.mp3", second, secondMp3));
  EXPECT_EQ(firstMp3, secondMp3) << "two runs write the same bytes";
  EXPECT_EQ(first.sampleRate, 44100);
  EXPECT_EQ(first.channels, 2);
  EXPECT_NEAR(seconds(first), 16.0, 0.05);
  EXPECT_LT(rms(first, 0.0, 2.0), 0.25 * rms(first, 13.0, 16.0)) << "the first seconds are quiet";
}

// The one test of the whole track: generation takes several seconds, so it runs once here.
TEST(MusicTrack, FullTrackIsLongCleanAndOnTheBeat) {
  DecodedAudio audio;
  std::vector<unsigned char> mp3;
  ASSERT_TRUE(generateAndDecode(trackLength, "full.mp3", audio, mp3));
  EXPECT_GE(seconds(audio), 262.0);
  EXPECT_LT(peak(audio), 1.0f) << "no clipping";
  EXPECT_LT(rms(audio, 262.6, 263.0), 1e-3) << "faded out after the demo ends";
  EXPECT_GT(rms(audio, 258.0, 259.0), 0.05) << "still playing when the demo stops";

  // Onset energy at kicks and snares against the midpoints between them.
  const Score score = makeScore(trackLength);
  std::vector<double> hits = score.kicks;
  hits.insert(hits.end(), score.snares.begin(), score.snares.end());
  std::sort(hits.begin(), hits.end());
  double atHits = 0.0, between = 0.0;
  int pairs = 0;
  for (size_t i = 0; i + 1 < hits.size() && hits[i + 1] < 259.0; ++i) {
    if (hits[i + 1] - hits[i] < 0.2) continue;
    atHits += onsetRise(audio, hits[i]);
    between += onsetRise(audio, 0.5 * (hits[i] + hits[i + 1]));
    ++pairs;
  }
  ASSERT_GT(pairs, 200);
  const double ratio = atHits / std::max(between, 1e-9);
  std::printf("onset rise at hits / between hits: %.2f over %d pairs\n", ratio, pairs);
  EXPECT_GT(ratio, 2.0);
}
