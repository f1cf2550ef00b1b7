// The video export's pieces that need no GL and no ffmpeg: the frame clock of a span, the
// sound span as WAV bytes, the encoder's command line, the progress lines and the options.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "capture/offline_options.h"
#include "capture/progress_line.h"
#include "capture/sound_span.h"
#include "capture/video_encoder.h"
#include "capture/video_export.h"

namespace {

uint32_t readLe(const std::vector<uint8_t>& bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = 0; i < size; ++i) value |= static_cast<uint32_t>(bytes[at + i]) << (8 * i);
  return value;
}

int16_t sampleAt(const std::vector<uint8_t>& wav, size_t index) {
  return static_cast<int16_t>(readLe(wav, 44 + 2 * index, 2));
}

std::string afterFlag(const std::vector<std::string>& args, const std::string& flag) {
  const auto it = std::find(args.begin(), args.end(), flag);
  return it != args.end() && it + 1 != args.end() ? *(it + 1) : "";
}

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

std::optional<OfflineOptions> parse(std::vector<const char*> args, std::string& error) {
  args.insert(args.begin(), "tarvik-render");
  return parseOfflineOptions(static_cast<int>(args.size()), args.data(), error);
}

}  // namespace

TEST(VideoFrameClock, FramesOfASpan) {
  EXPECT_EQ(videoFrameCount(1.0, 2.0, 10.0), 10);
  EXPECT_EQ(videoFrameCount(0.0, 259.0, 60.0), 15540);
  EXPECT_EQ(videoFrameCount(1.0, 1.05, 10.0), 1);  // a part of a frame still earns one
  EXPECT_EQ(videoFrameCount(1.0, 1.0, 10.0), 0);
}

TEST(VideoFrameClock, FrameKIsAtTheStartPlusKOverTheRate) {
  EXPECT_DOUBLE_EQ(videoFrameTime(1.0, 10.0, 0), 1.0);
  EXPECT_DOUBLE_EQ(videoFrameTime(1.0, 10.0, 5), 1.5);
  EXPECT_DOUBLE_EQ(videoFrameTime(1.03, 10.0, 2), 1.23);  // off the grid
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

TEST(SoundSpan, CutsTheSamplesOfTheSpanAsPcm16) {
  DecodedAudio audio;
  audio.sampleRate = 1000;
  audio.channels = 2;
  for (int i = 0; i < 1000; ++i) {
    audio.samples.push_back(i / 1000.0f);
    audio.samples.push_back(-0.5f);
  }
  const std::vector<uint8_t> wav = wavBytesForSpan(audio, 0.5, 1.2);  // 200 frames past the end
  ASSERT_EQ(wav.size(), 44u + 700 * 2 * 2);
  EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
  EXPECT_EQ(readLe(wav, 4, 4), wav.size() - 8);
  EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(readLe(wav, 20, 2), 1u);     // PCM
  EXPECT_EQ(readLe(wav, 22, 2), 2u);     // channels
  EXPECT_EQ(readLe(wav, 24, 4), 1000u);  // rate
  EXPECT_EQ(readLe(wav, 28, 4), 4000u);  // bytes per second
  EXPECT_EQ(readLe(wav, 32, 2), 4u);
  EXPECT_EQ(readLe(wav, 34, 2), 16u);
  EXPECT_EQ(readLe(wav, 40, 4), 700u * 4);
  EXPECT_EQ(sampleAt(wav, 0), static_cast<int16_t>(std::lround(0.5 * 32767)));  // frame 500, left
  EXPECT_EQ(sampleAt(wav, 1), static_cast<int16_t>(std::lround(-0.5 * 32767)));
  EXPECT_EQ(sampleAt(wav, 2 * 499), static_cast<int16_t>(std::lround(0.999 * 32767)));
  EXPECT_EQ(sampleAt(wav, 2 * 500), 0);  // past the end of the track: silence
}

TEST(SoundSpan, NoSamplesNoFile) {
  std::string error;
  EXPECT_FALSE(writeWavSpan(DecodedAudio{}, 0.0, 1.0, "/tmp/never-written.wav", error));
  EXPECT_EQ(error, "the music has no samples");
}

TEST(EncoderArguments, Mp4IsH264WithTheBt709TagsTheConversionUsed) {
  EncoderJob job;
  job.container = VideoContainer::mp4;
  job.width = 64;
  job.height = 36;
  job.fps = 29.97;
  job.soundPath = "s.wav";
  job.outputPath = "out.mp4.part";
  const std::vector<std::string> args = encoderArguments(job);
  EXPECT_EQ(args.front(), "ffmpeg");
  EXPECT_EQ(args.back(), "out.mp4.part");
  EXPECT_EQ(afterFlag(args, "-video_size"), "64x36");
  EXPECT_EQ(afterFlag(args, "-framerate"), "29.97");
  EXPECT_EQ(afterFlag(args, "-pix_fmt"), "rgba");
  EXPECT_EQ(afterFlag(args, "-vf"), "vflip,scale=out_color_matrix=bt709:out_range=tv,format=yuv420p");
  EXPECT_EQ(afterFlag(args, "-c:v"), "libx264");
  EXPECT_EQ(afterFlag(args, "-colorspace"), "bt709");
  EXPECT_EQ(afterFlag(args, "-color_primaries"), "bt709");
  EXPECT_EQ(afterFlag(args, "-color_trc"), "bt709");
  EXPECT_EQ(afterFlag(args, "-color_range"), "tv");
  EXPECT_EQ(afterFlag(args, "-c:a"), "aac");
  EXPECT_EQ(afterFlag(args, "-f"), "rawvideo");  // the first -f is the input's
  EXPECT_NE(std::find(args.begin(), args.end(), "s.wav"), args.end());
  EXPECT_EQ(*(args.end() - 2), "mp4");
}

TEST(EncoderArguments, MkvIsLosslessRgbAndVideoOnlyWithoutSound) {
  EncoderJob job;
  job.container = VideoContainer::mkv;
  job.width = 65;
  job.height = 37;
  job.outputPath = "m.mkv.part";
  const std::vector<std::string> args = encoderArguments(job);
  EXPECT_EQ(afterFlag(args, "-c:v"), "ffv1");
  EXPECT_EQ(afterFlag(args, "-vf"), "vflip");
  EXPECT_EQ(afterFlag(args, "-g"), "1");
  EXPECT_EQ(std::count(args.begin(), args.end(), "-i"), 1);
  EXPECT_EQ(std::find(args.begin(), args.end(), "-c:a"), args.end());
  EXPECT_EQ(*(args.end() - 2), "matroska");
}

TEST(FindOnPath, FindsAnExecutableAndNothingElse) {
  EXPECT_FALSE(findOnPath("sh").empty());
  EXPECT_TRUE(findOnPath("no-such-program-here").empty());
}

TEST(ProgressLineText, FiguresOfAFrameCount) {
  EXPECT_EQ(formatProgress(120, 600, 8.0), "frame 120/600 (20%), 15.0 fps, 0:08 elapsed, 0:32 left");
  EXPECT_EQ(formatProgress(0, 600, 0.0), "frame 0/600 (0%), 0.0 fps, 0:00 elapsed, ? left");
  EXPECT_EQ(formatDuration(3723.0), "1:02:03");
  EXPECT_EQ(formatDuration(754.4), "12:34");
}

TEST(ProgressLineText, PlainLinesEveryFivePercent) {
  const std::string text = progressOutput(ProgressLine::Mode::plain, 400);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 20);
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_EQ(text.substr(0, text.find('\n')),
            "tarvik-render: frame 20/400 (5%), 2.0 fps, 0:10 elapsed, 3:10 left");
  EXPECT_NE(text.find("frame 400/400 (100%)"), std::string::npos);
  // Fewer frames than steps: a line per frame, never two for one.
  const std::string few = progressOutput(ProgressLine::Mode::plain, 7);
  EXPECT_EQ(std::count(few.begin(), few.end(), '\n'), 7);
}

TEST(ProgressLineText, TerminalRewritesOneLineAndQuietSaysNothing) {
  const std::string text = progressOutput(ProgressLine::Mode::terminal, 400);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1);
  EXPECT_EQ(text.back(), '\n');
  EXPECT_GT(std::count(text.begin(), text.end(), '\r'), 1);
  EXPECT_NE(text.rfind("frame 400/400 (100%)"), std::string::npos);
  EXPECT_EQ(progressOutput(ProgressLine::Mode::quiet, 400), "");
}

TEST(VideoOptions, KindsFlagsAndRefusals) {
  std::string error;
  auto o = parse({"--from", "1", "--to", "2", "--out", "a.MP4", "--size", "64x36", "--quiet", "--no-sound"}, error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(o->kind, OutputKind::mp4);
  EXPECT_TRUE(o->quiet);
  EXPECT_FALSE(o->sound);
  o = parse({"--from", "1", "--to", "2", "--out", "m.mkv", "--size", "65x37"}, error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(o->kind, OutputKind::mkv);
  EXPECT_TRUE(o->sound);
  EXPECT_FALSE(o->quiet);
  o = parse({"--from", "1", "--to", "2", "--out", "dir"}, error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(o->kind, OutputKind::frames);

  EXPECT_FALSE(parse({"--from", "1", "--to", "2", "--out", "a.mp4", "--size", "65x36"}, error));
  EXPECT_EQ(error, "an .mp4 needs an even width and height (4:2:0 colour), not 65x36");
  EXPECT_FALSE(parse({"--from", "1", "--to", "2", "--out", "a.mp4", "--size", "64x35"}, error));
  EXPECT_EQ(error, "an .mp4 needs an even width and height (4:2:0 colour), not 64x35");
  EXPECT_FALSE(parse({"--time", "1", "--out", "a.mp4"}, error));
  EXPECT_EQ(error, "a video or sound file needs --from and --to");
  EXPECT_FALSE(parse({"--from", "1", "--to", "1", "--out", "a.mkv"}, error));
  EXPECT_EQ(error, "the span from --from to --to holds no frame");
}

TEST(VideoOptions, SeveralStillTimesAndTheSimulationPath) {
  std::string error;
  auto o = parse({"--time", "30,60.5,255", "--out", "dir", "--simulate", "full"}, error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(o->kind, OutputKind::frames);
  EXPECT_EQ(o->times, (std::vector<double>{30.0, 60.5, 255.0}));
  EXPECT_TRUE(o->fullSimulation);
  o = parse({"--time", "30", "--out", "a.png"}, error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(o->kind, OutputKind::still);
  EXPECT_FALSE(o->fullSimulation);
  EXPECT_FALSE(parse({"--time", "30,260", "--out", "dir"}, error));
  EXPECT_EQ(error, "time outside 0 to 259 seconds");
  EXPECT_FALSE(parse({"--time", "30,", "--out", "dir"}, error));
  EXPECT_EQ(error, "bad value for --time: 30,");
  EXPECT_FALSE(parse({"--time", "30", "--out", "a.png", "--simulate", "gpu"}, error));
  EXPECT_EQ(error, "bad value for --simulate: gpu");
}
