// The video export's pieces that need no GL: the frame clock of a span, the sound span as a
// WAV (alone and through tarvik-render's .wav output) and the progress lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "capture/progress_line.h"
#include "capture/sound_span.h"
#include "capture/video_export.h"
#include "tests/support/process_runner.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_paths.h"
#include "timeline/music.h"

namespace {

std::string progressOutput(ProgressLine::Mode mode, long total) {
  char* buffer = nullptr;
  size_t size = 0;
  FILE* out = open_memstream(&buffer, &size);
  {
    ProgressLine line(total, mode, "tarvik-render", out);
    for (long done = 1; done <= total; ++done) line.update(done, done * 0.5);
    line.finish();
  }
  std::fclose(out);
  std::string text(buffer, size);
  std::free(buffer);
  return text;
}

}  // namespace

TEST(VideoFrameClock, ASpanHoldsTheGridFramesFromItsStart) {
  EXPECT_EQ(videoFrameCount(1.0, 2.0, 10.0), 10);
  EXPECT_EQ(videoFrameCount(0.0, 259.0, 60.0), 15540);
  EXPECT_EQ(videoFrameCount(1.0, 1.05, 10.0), 1);  // a part of a frame still earns one
  EXPECT_EQ(videoFrameCount(1.0, 1.0, 10.0), 0);
  // Off the grid the first frame is the next one of the grid: 1.01 s at 30 fps is frame 31.
  EXPECT_EQ(videoFrameCount(1.01, 1.25, 30.0), 7);
  EXPECT_EQ(videoFrameTime(1.01, 30.0, 0), 31 / 30.0);
  EXPECT_EQ(videoFrameTime(1.01, 30.0, 2), 33 / 30.0);
}

TEST(VideoFrameClock, ASegmentOnTheGridUsesTheLongRunsArithmetic) {
  // 7 / 30 + 1 / 30 is not 8 / 30 in binary; a segment that starts on frame 7 must still give
  // the times of one run from 0 bit for bit, so joined segments equal that run.
  const double fps = 30.0;
  int differ = 0;
  for (long start : {7L, 4321L, 7769L})
    for (long k = 0; k < 50; ++k) {
      const double segmentStart = static_cast<double>(start) / fps;
      differ += segmentStart + k / fps != videoFrameTime(0.0, fps, start + k);
      EXPECT_EQ(videoFrameTime(segmentStart, fps, k), videoFrameTime(0.0, fps, start + k)) << start << " + " << k;
    }
  EXPECT_GT(differ, 0);  // the naive sum does differ, so the check above means something
}

TEST(SoundSpan, PastTheEndOfTheTrackIsSilenceAndNoSamplesNoFile) {
  DecodedAudio audio{1000, 2, std::vector<float>(2000, 0.5f)};
  const std::vector<uint8_t> wav = wavBytesForSpan(audio, 0.5, 1.2);  // 200 frames past the end
  ASSERT_EQ(wav.size(), 44u + 700 * 2 * 2);
  EXPECT_EQ(wav[44 + 4 * 499 + 1], 0x40);  // the last frame of the track: 0.5 as PCM is 0x4000
  EXPECT_TRUE(std::all_of(wav.begin() + 44 + 4 * 500, wav.end(), [](uint8_t b) { return b == 0; }));
  std::string error;
  EXPECT_FALSE(writeWavSpan(DecodedAudio{}, 0.0, 1.0, "/tmp/never-written.wav", error));
  EXPECT_EQ(error, "the music has no samples");
}

TEST(SoundSpan, AWavOutputHoldsTheTracksSamplesOfTheSpan) {
  TempDir dir;
  const std::string out = (dir.path() / "span.wav").string();
  ASSERT_EQ(runRenderer({"--from", "10.5", "--to", "12", "--out", out}).exitStatus, 0);
  DecodedAudio track, span;
  ASSERT_TRUE(decodeAudioFile((std::string(testSourceDir()) + "/" + musicFilePath).c_str(), track));
  ASSERT_TRUE(decodeAudioFile(out.c_str(), span));
  ASSERT_EQ(span.sampleRate, track.sampleRate);
  ASSERT_EQ(span.channels, track.channels);
  EXPECT_EQ(span.samples.size(), static_cast<size_t>(1.5 * track.sampleRate) * track.channels);
  const size_t first = static_cast<size_t>(10.5 * track.sampleRate) * track.channels;
  double worst = 0.0, loudest = 0.0;
  for (size_t i = 0; i < span.samples.size(); ++i) {
    worst = std::max(worst, static_cast<double>(std::fabs(span.samples[i] - track.samples[first + i])));
    loudest = std::max(loudest, static_cast<double>(std::fabs(span.samples[i])));
  }
  EXPECT_LT(worst, 2.0 / 32767);  // 16-bit rounding only
  EXPECT_GT(loudest, 0.05);       // and not a span of silence
}

TEST(ProgressLineText, PlainLinesEveryFivePercentTerminalOneLineQuietNothing) {
  const std::string plain = progressOutput(ProgressLine::Mode::plain, 400);
  EXPECT_EQ(std::count(plain.begin(), plain.end(), '\n'), 20);
  EXPECT_EQ(plain.find('\r'), std::string::npos);
  EXPECT_EQ(plain.substr(0, plain.find('\n')), "tarvik-render: frame 20/400 (5%), 2.0 fps, 0:10 elapsed, 3:10 left");
  const std::string few = progressOutput(ProgressLine::Mode::plain, 7);  // a line per frame, never two
  EXPECT_EQ(std::count(few.begin(), few.end(), '\n'), 7);
  const std::string terminal = progressOutput(ProgressLine::Mode::terminal, 400);
  EXPECT_EQ(std::count(terminal.begin(), terminal.end(), '\n'), 1);
  EXPECT_GT(std::count(terminal.begin(), terminal.end(), '\r'), 1);
  EXPECT_NE(terminal.rfind("frame 400/400 (100%)"), std::string::npos);
  EXPECT_EQ(progressOutput(ProgressLine::Mode::quiet, 400), "");
  // A closing line stays short however many --time values there were.
  EXPECT_EQ(formatWroteStills("d/", 8, 4, std::vector<double>(10000, 5.0), 1),
            "wrote d/ (8x4, 1 frame at 5 s; 10000 times given, one file a frame)");
  EXPECT_EQ(formatWroteStills("d/", 8, 4, {7, 1, 2, 3, 4, 5, 6}, 7), "wrote d/ (8x4, 7 frames at 7, 1, 2, 3, 4 s and 2 more)");
}
