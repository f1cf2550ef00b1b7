// tarvik-render as a capture tool, end to end: the video file ffprobe sees (frames, colour
// tags, encoder settings, sound), its first frame against the PNG still, refusals, an encoder
// that fails and a full disk. (Segments joined into one run are the render-video script's tests; an
// interrupted export is among the stop signals of the fault tests.)
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "tests/support/process_runner.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

bool haveFfmpeg() { return std::system("command -v ffmpeg > /dev/null && command -v ffprobe > /dev/null") == 0; }

#define NEED_FFMPEG() ASSERT_TRUE(haveFfmpeg()) << "scripts/setup.sh installs the ffmpeg package"

// The short clip every test uses: small frames, a small render target, 10 frames a second.
const std::vector<std::string> smallClip = {"--fps", "10", "--size", "128x72", "--quality", "low", "--render", "32"};

std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string>& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

// Whether ffprobe reports every "key=value" of `expected` for one stream ("v:0", "a:0").
void expectStream(const std::string& file, const std::string& stream, const std::vector<std::string>& expected) {
  const std::string text = "\n" + shellOutput("ffprobe -v error -count_frames -select_streams " + stream +
                                              " -show_entries stream -of default=noprint_wrappers=1 '" + file + "'");
  for (const std::string& entry : expected) EXPECT_NE(text.find("\n" + entry + "\n"), std::string::npos) << entry << text;
}

// One decoded frame (or a PNG) as packed RGB bytes, top row first.
std::string rgbOf(const std::string& file, const std::string& select = "-frames:v 1") {
  return shellOutput("ffmpeg -v error -i '" + file + "' " + select + " -f rawvideo -pix_fmt rgb24 -");
}

std::vector<std::string> filesIn(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
  return names;
}

}  // namespace

TEST(VideoExport, Mp4HasTheFramesTagsEncoderSettingsAndSoundOfTheSpan) {
  NEED_FFMPEG();
  TempDir dir;
  const std::string out = (dir.path() / "clip.mp4").string();
  const ProcessResult run = runRenderer(
      with({"--from", "20", "--to", "21", "--out", out, "--crf", "40", "--preset", "ultrafast"}, smallClip));
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"clip.mp4"});  // no temporary left
  EXPECT_NE(run.output.find("frame 10/10"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("\nwrote " + out + " (128x72, 10 frames, 1 s)\n"), std::string::npos) << run.output;

  expectStream(out, "v:0", {"codec_name=h264", "width=128", "height=72", "pix_fmt=yuv420p", "nb_read_frames=10",
                            "color_space=bt709", "color_primaries=bt709", "color_transfer=bt709", "color_range=tv",
                            "r_frame_rate=10/1"});
  // x264 writes its settings into the stream: the rate factor asked for, and ultrafast's
  // trade of CABAC for speed.
  const std::string settings = shellOutput("strings '" + out + "' | grep -m1 'x264 - core'");
  EXPECT_NE(settings.find(" crf=40.0 "), std::string::npos) << settings;
  EXPECT_NE(settings.find(" cabac=0 "), std::string::npos) << settings;
  expectStream(out, "a:0", {"codec_name=aac", "duration=1.000000"});
}

TEST(VideoExport, FirstFrameIsTheStillOfItsTime) {
  NEED_FFMPEG();
  TempDir dir;
  const std::string still = (dir.path() / "still.png").string();
  const std::string mp4 = (dir.path() / "clip.mp4").string();
  const std::string mkv = (dir.path() / "clip.mkv").string();
  ASSERT_EQ(runRenderer(with({"--time", "20", "--out", still}, smallClip)).exitStatus, 0);
  ASSERT_EQ(runRenderer(with({"--from", "20", "--to", "20.2", "--out", mp4, "--quiet"}, smallClip)).exitStatus, 0);
  const ProcessResult master = runRenderer(with({"--from", "20", "--to", "20.2", "--out", mkv, "--quiet"}, smallClip));
  ASSERT_EQ(master.exitStatus, 0) << master.output;
  EXPECT_EQ(master.output, "") << "--quiet: no progress, no closing line, no transcript";
  const std::string expected = rgbOf(still);
  ASSERT_EQ(expected.size(), 128u * 72 * 3);

  // The lossless master holds the still's very pixels, tagged as full-range RGB (identity
  // matrix) with the primaries and transfer of the .mp4.
  EXPECT_TRUE(rgbOf(mkv) == expected) << "the .mkv's first frame differs from the still";
  expectStream(mkv, "v:0", {"color_primaries=bt709", "color_transfer=bt709", "color_space=gbr", "color_range=pc"});

  // H.264 in 4:2:0 is close per pixel, and its colour means match: a wrong matrix or range
  // (BT.601, full range) moves a channel's mean by 2.5 or more on this frame.
  const std::string decoded = rgbOf(mp4);
  ASSERT_EQ(decoded.size(), expected.size());
  double pixelError = 0.0, channelMean[3] = {0, 0, 0};
  for (size_t i = 0; i < expected.size(); ++i) {
    const int diff = static_cast<uint8_t>(decoded[i]) - static_cast<uint8_t>(expected[i]);
    pixelError += std::abs(diff);
    channelMean[i % 3] += diff;
  }
  const double pixels = 128.0 * 72.0;
  EXPECT_LT(pixelError / expected.size(), 6.0);
  for (int c = 0; c < 3; ++c) EXPECT_LT(std::fabs(channelMean[c] / pixels), 1.6) << "channel " << c;
}

TEST(VideoExport, NoFfmpegIsOneLineBeforeAnyWork) {
  TempDir dir;
  const ProcessResult run = runRenderer({"--from", "1", "--to", "2", "--out", (dir.path() / "clip.mp4").string()},
                                        {"PATH=/nonexistent"});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.output, "tarvik-render: cannot find the ffmpeg program (install the Debian package ffmpeg)\n");
  EXPECT_TRUE(filesIn(dir.path()).empty());
}

TEST(VideoExport, AFailedEncoderIsOneLineAndLeavesNoFile) {
  NEED_FFMPEG();
  TempDir dir;
  const fs::path bin = dir.path() / "bin";
  dir.write("bin/ffmpeg", "#!/bin/sh\necho 'Error writing output: No space left on device' >&2\nexit 1\n");
  fs::permissions(bin / "ffmpeg", fs::perms::owner_all);
  const fs::path outDir = dir.path() / "out";
  fs::create_directories(outDir);
  const ProcessResult run = runRenderer(with({"--from", "1", "--to", "2", "--out", (outDir / "clip.mp4").string()},
                                             smallClip), {"PATH=" + bin.string() + ":/usr/bin:/bin"});
  EXPECT_EQ(run.exitStatus, 1) << run.output;
  EXPECT_NE(run.output.find("tarvik-render: the encoder failed (ffmpeg exit status 1): Error writing output: No space "
                            "left on device\n"),
            std::string::npos)
      << run.output;
  EXPECT_TRUE(filesIn(outDir).empty());
}

TEST(VideoExport, AFullDiskIsOneLineAndLeavesNoFile) {
  NEED_FFMPEG();
  TempDir dir;
  // A 300 KiB file system holds the sound of 1 s but not 8 s of lossless frames.
  if (mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=300k") != 0)
    GTEST_SKIP() << "mounting a small tmpfs needs root";
  const std::string out = (dir.path() / "clip.mkv").string();
  const ProcessResult run = runRenderer(with({"--from", "1", "--to", "9", "--out", out, "--quiet"}, smallClip));
  const std::vector<std::string> left = filesIn(dir.path());
  umount(dir.path().c_str());
  EXPECT_EQ(run.exitStatus, 1) << run.output;
  EXPECT_NE(run.output.find("No space left on device\n"), std::string::npos) << run.output;
  EXPECT_TRUE(left.empty());
}
