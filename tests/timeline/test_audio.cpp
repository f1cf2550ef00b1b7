// The audio layer: decoding, stream length and seeking, the audible position under the dummy
// driver, the spectrum scaling, and bad files.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <thread>

#include "tests/support/audio_fixtures.h"
#include "tests/support/gl_context.h"
#include "tests/support/temp_files.h"
#include "timeline/audio.h"
#include "timeline/audio_decode.h"

namespace {

constexpr int rate = 44100;
constexpr double binWidth = rate / 1024.0;

class AudioLayer : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(audioInit(-1, 44100, 0)) << "error " << audioErrorGetCode(); }
  void TearDown() override { audioFree(); }

  AudioStream open(const std::string& name, const std::string& bytes) {
    return audioStreamCreateFile(false, dir.write(name, bytes).c_str(), 0, 0, audioStreamFlagsWholeFile);
  }
  double lengthSeconds(AudioStream s) { return audioChannelBytes2Seconds(s, audioChannelGetLength(s, audioPosByte)); }
  double positionSeconds(AudioStream s) {
    return audioChannelBytes2Seconds(s, audioChannelGetPosition(s, audioPosByte));
  }

  TempDir dir;
};

int peakBin(const float* bins) { return static_cast<int>(std::max_element(bins, bins + 512) - bins); }

}  // namespace

TEST_F(AudioLayer, WavAndTaggedMonoMp3DecodeToTheirLength) {
  const AudioStream wav = open("tone.wav", wavBytes(sineTone(440, 2.0, rate, 2, 0.5f), rate, 2));
  ASSERT_NE(wav, 0u);
  EXPECT_NEAR(lengthSeconds(wav), 2.0, 1e-3);
  // Mono at another rate is doubled and resampled; tags and encoder padding cost little.
  const AudioStream mp3 = open("tone.mp3", mp3Bytes(sineTone(440, 3.0, 22050, 1, 0.5f), 22050, 1, true));
  ASSERT_NE(mp3, 0u) << "error " << audioErrorGetCode();
  EXPECT_NEAR(lengthSeconds(mp3), 3.0, 0.1);
}

TEST_F(AudioLayer, BadFilesFailWithACode) {
  for (auto [name, bytes] : {std::pair{"empty.mp3", std::string()}, {"text.mp3", std::string(4000, 'x') + "not music\n"},
                             {"empty.wav", std::string()}}) {
    EXPECT_EQ(open(name, bytes), 0u) << name;
    EXPECT_EQ(audioErrorGetCode(), audioErrorFormat) << name;
  }
  std::filesystem::create_directories(dir.path() / "folder.mp3");
  for (const char* name : {"missing.mp3", "folder.mp3"}) {
    EXPECT_EQ(audioStreamCreateFile(false, (dir.path() / name).c_str(), 0, 0, 0), 0u);
    EXPECT_EQ(audioErrorGetCode(), audioErrorFileOpen) << name;
  }
  // A cut-off MP3 keeps what decodes before the cut.
  const std::string whole = mp3Bytes(sineTone(440, 2.0, rate, 2, 0.5f), rate, 2, false);
  const AudioStream truncated = open("cut.mp3", whole.substr(0, whole.size() / 2));
  ASSERT_NE(truncated, 0u);
  EXPECT_NEAR(lengthSeconds(truncated), 1.0, 0.1);
  float bins[512];
  EXPECT_EQ(audioChannelGetData(99, bins, audioDataFft1024), audioDataFailed);
}

TEST_F(AudioLayer, SeekThenPlayAdvancesAtRealTimePace) {
  const AudioStream s = open("tone.wav", wavBytes(sineTone(440, 5.0, rate, 2, 0.5f), rate, 2));
  ASSERT_NE(s, 0u);
  audioChannelSetPosition(s, audioChannelSeconds2Bytes(s, 2.0), audioPosByte);
  EXPECT_NEAR(positionSeconds(s), 2.0, 1e-3);
  audioChannelPlay(s, false);
  const auto start = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  const double heard = positionSeconds(s) - 2.0;
  const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  // The audible position never runs ahead of the wall clock by more than a block (23 ms); on a
  // loaded machine the device thread may lag, so only a clear stall or a crawl fails.
  EXPECT_LE(heard, elapsed + 0.03);
  EXPECT_GE(heard, 0.5 * elapsed);
  audioChannelPause(s);
  const double paused = positionSeconds(s);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_DOUBLE_EQ(positionSeconds(s), paused);
}

TEST_F(AudioLayer, FullScaleSineOnABinCentreReadsAboutHalf) {
  const double frequency = 100 * binWidth;
  const AudioStream s = open("sine.wav", wavBytes(sineTone(frequency, 2.0, rate, 2, 1.0f), rate, 2));
  ASSERT_NE(s, 0u);
  audioChannelSetPosition(s, audioChannelSeconds2Bytes(s, 1.0), audioPosByte);
  float live[512];
  ASSERT_EQ(audioChannelGetData(s, live, audioDataFft1024), 512 * sizeof(float));
  EXPECT_EQ(peakBin(live), 100);
  EXPECT_NEAR(live[100], 0.5f, 0.01f);
  EXPECT_LT(live[90], 0.001f);  // the Hann window keeps leakage away from far bins

  // The offline analysis of the same moment gives the same spectrum.
  DecodedAudio decoded;
  ASSERT_TRUE(decodeAudioFile((dir.path() / "sine.wav").c_str(), decoded));
  float offline[512];
  spectrumAt(decoded, 1.0, offline);
  for (int k = 0; k < 512; k += 37) EXPECT_NEAR(offline[k], live[k], 1e-4f) << "bin " << k;
}

TEST_F(AudioLayer, FifoIsRefusedWithoutWaitingForAWriter) {
  const std::string fifo = (dir.path() / "fifo.mp3").string();
  AudioStream fromFifo = 1;
  EXPECT_FALSE(waitsOnFifo(fifo, [&] { fromFifo = audioStreamCreateFile(false, fifo.c_str(), 0, 0, 0); }));
  EXPECT_EQ(fromFifo, 0u);
  EXPECT_EQ(audioErrorGetCode(), audioErrorFileOpen);
}

TEST_F(AudioLayer, PlayingPastTheEndCountsOnAsSilence) {
  const AudioStream s = open("short.wav", wavBytes(sineTone(440, 0.2, rate, 2, 0.5f), rate, 2));
  ASSERT_NE(s, 0u);
  audioChannelPlay(s, false);
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  const double position = positionSeconds(s);
  EXPECT_GT(position, 0.35) << "the position went on past the 0.2 s track";
  EXPECT_FALSE(audioChannelOnWallClock(s)) << "a device that pulls keeps the audio clock";
  float bins[512];
  ASSERT_EQ(audioChannelGetData(s, bins, audioDataFft1024), 512 * sizeof(float));
  EXPECT_EQ(*std::max_element(bins, bins + 512), 0.0f) << "past the end is silence";
}

TEST(AudioDecode, StereoFromMonoAndFromMoreChannelsKeepsTheFirstTwo) {
  const DecodedAudio mono{44100, 1, {0.1f, 0.2f}};
  EXPECT_EQ(toStereoAtRate(mono, 44100), (std::vector<float>{0.1f, 0.1f, 0.2f, 0.2f}));
  const DecodedAudio four{44100, 4, {1, 2, 3, 4, 5, 6, 7, 8}};
  EXPECT_EQ(toStereoAtRate(four, 44100), (std::vector<float>{1, 2, 5, 6}));
}

TEST(AudioDecode, NonFiniteSamplesBecomeSilenceCountedOnOneLine) {
  std::vector<float> samples = sineTone(440, 0.1, rate, 2, 0.5f);
  const std::vector<size_t> broken = {10, 11, 2001};
  samples[broken[0]] = NAN;
  samples[broken[1]] = INFINITY;
  samples[broken[2]] = -INFINITY;
  const std::string wav = wavBytes(samples, rate, 2, true);
  DecodedAudio decoded;
  const std::string output = captureStdout([&] {
    EXPECT_EQ(decodeAudioBytes(reinterpret_cast<const unsigned char*>(wav.data()), wav.size(), decoded),
              AudioDecodeResult::ok);
  });
  EXPECT_EQ(output, "3 decoded samples were not finite numbers and play as silence\n");
  ASSERT_EQ(decoded.samples.size(), samples.size());
  for (size_t i : broken) EXPECT_EQ(decoded.samples[i], 0.0f) << i;
  EXPECT_EQ(decoded.samples[12], samples[12]) << "finite samples are kept as they are";
}
