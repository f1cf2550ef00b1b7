// tarvik-render as a capture tool, end to end: the video file ffprobe sees, its first frame
// against the PNG still, refusals, an encoder that fails, a full disk, an interrupted export,
// and segments rendered apart that join into the frames of one run.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "tests/support/process_runner.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

bool haveMusic() { return fs::exists(std::string(testSourceDir()) + "/music/tarvik.mp3"); }
bool haveFfmpeg() { return std::system("command -v ffmpeg > /dev/null && command -v ffprobe > /dev/null") == 0; }

#define NEED_MUSIC_AND_FFMPEG()                                                   \
  if (!haveMusic()) GTEST_SKIP() << "the build generates ./music/tarvik.mp3";     \
  if (!haveFfmpeg()) GTEST_SKIP() << "scripts/setup.sh installs the ffmpeg package"

// The short clip every test uses: small frames, a small render target, 10 frames a second.
const std::vector<std::string> smallClip = {"--fps", "10", "--size", "128x72", "--quality", "low", "--render", "32"};

ProcessResult render(std::vector<std::string> args, const std::vector<std::string>& env = {}) {
  args.insert(args.begin(), builtProgram("tarvik-render"));
  std::vector<std::string> fullEnv = {"SDL_AUDIODRIVER=dummy"};
  fullEnv.insert(fullEnv.end(), env.begin(), env.end());
  return runProcess(args, testSourceDir(), fullEnv, 0.0, 300.0);
}

std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string>& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

std::string shellOutput(const std::string& command) {
  std::string text;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return text;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
  pclose(pipe);
  return text;
}

// key=value lines of one stream ("v:0", "a:0") as ffprobe prints them.
std::map<std::string, std::string> probeStream(const std::string& file, const std::string& stream) {
  const std::string text = shellOutput("ffprobe -v error -count_frames -select_streams " + stream +
                                       " -show_entries stream -of default=noprint_wrappers=1 '" + file + "'");
  std::map<std::string, std::string> values;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    const std::string line = text.substr(start, end - start);
    const size_t eq = line.find('=');
    if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return values;
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

// The checksum of every decoded video frame and of the decoded sound, without timestamps.
std::string contentHashes(const std::string& file) {
  return shellOutput("ffmpeg -v error -i '" + file + "' -map 0:v -f framemd5 - | grep -v '^#' | awk -F, '{print $NF}'") +
         shellOutput("ffmpeg -v error -i '" + file + "' -map 0:a -f md5 -");
}

}  // namespace

TEST(VideoExport, Mp4HasTheFramesTagsAndSoundOfTheSpan) {
  NEED_MUSIC_AND_FFMPEG();
  TempDir dir;
  const std::string out = (dir.path() / "clip.mp4").string();
  const ProcessResult run = render(with({"--from", "20", "--to", "21", "--out", out, "--quiet"}, smallClip));
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"clip.mp4"});  // no temporary left

  auto video = probeStream(out, "v:0");
  EXPECT_EQ(video["codec_name"], "h264");
  EXPECT_EQ(video["width"], "128");
  EXPECT_EQ(video["height"], "72");
  EXPECT_EQ(video["pix_fmt"], "yuv420p");
  EXPECT_EQ(video["nb_read_frames"], "10");
  EXPECT_EQ(video["color_space"], "bt709");
  EXPECT_EQ(video["color_primaries"], "bt709");
  EXPECT_EQ(video["color_transfer"], "bt709");
  EXPECT_EQ(video["color_range"], "tv");
  EXPECT_EQ(video["r_frame_rate"], "10/1");
  auto audio = probeStream(out, "a:0");
  EXPECT_EQ(audio["codec_name"], "aac");
  EXPECT_NEAR(std::atof(audio["duration"].c_str()), 1.0, 0.05);
  EXPECT_EQ(run.output.find("frame 10/10"), std::string::npos) << "--quiet prints no progress";
}

TEST(VideoExport, FirstFrameIsTheStillOfItsTime) {
  NEED_MUSIC_AND_FFMPEG();
  TempDir dir;
  const std::string still = (dir.path() / "still.png").string();
  const std::string mp4 = (dir.path() / "clip.mp4").string();
  const std::string mkv = (dir.path() / "clip.mkv").string();
  ASSERT_EQ(render(with({"--time", "20", "--out", still}, smallClip)).exitStatus, 0);
  ASSERT_EQ(render(with({"--from", "20", "--to", "20.2", "--out", mp4, "--quiet"}, smallClip)).exitStatus, 0);
  ASSERT_EQ(render(with({"--from", "20", "--to", "20.2", "--out", mkv, "--quiet"}, smallClip)).exitStatus, 0);
  const std::string expected = rgbOf(still);
  ASSERT_EQ(expected.size(), 128u * 72 * 3);

  // The lossless master holds the still's very pixels.
  EXPECT_TRUE(rgbOf(mkv) == expected) << "the .mkv's first frame differs from the still";

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

TEST(VideoExport, RefusalsAreOneLineAndLeaveNoFile) {
  TempDir dir;
  const std::string out = (dir.path() / "clip.mp4").string();
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> env;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"--from", "1", "--to", "2", "--out", out, "--size", "65x36"}, {},
       "an .mp4 needs an even width and height (4:2:0 colour), not 65x36"},
      {{"--from", "1", "--to", "2", "--out", out, "--size", "64x36"}, {"PATH=/nonexistent"},
       "cannot find the ffmpeg program (install the Debian package ffmpeg)"},
  };
  for (const Case& c : cases) {
    const ProcessResult run = render(c.args, c.env);
    EXPECT_TRUE(run.exited);
    EXPECT_NE(run.exitStatus, 0) << c.message;
    EXPECT_EQ(run.output.rfind("tarvik-render: " + c.message, 0), 0u) << run.output;
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
    EXPECT_TRUE(filesIn(dir.path()).empty()) << c.message;
  }
}

TEST(VideoExport, AFailedEncoderIsOneLineAndLeavesNoFile) {
  NEED_MUSIC_AND_FFMPEG();
  TempDir dir;
  const fs::path bin = dir.path() / "bin";
  dir.write("bin/ffmpeg", "#!/bin/sh\necho 'Error writing output: No space left on device' >&2\nexit 1\n");
  fs::permissions(bin / "ffmpeg", fs::perms::owner_all);
  const fs::path outDir = dir.path() / "out";
  fs::create_directories(outDir);
  const ProcessResult run = render(with({"--from", "1", "--to", "2", "--out", (outDir / "clip.mp4").string()}, smallClip),
                                   {"PATH=" + bin.string() + ":/usr/bin:/bin"});
  EXPECT_EQ(run.exitStatus, 1) << run.output;
  EXPECT_NE(run.output.find("tarvik-render: the encoder failed (ffmpeg exit status 1): Error writing output: No space "
                            "left on device\n"),
            std::string::npos)
      << run.output;
  EXPECT_TRUE(filesIn(outDir).empty());
}

TEST(VideoExport, AFullDiskIsOneLineAndLeavesNoFile) {
  NEED_MUSIC_AND_FFMPEG();
  TempDir dir;
  // A 300 KiB file system holds the sound of 1 s but not 8 s of lossless frames.
  if (mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=300k") != 0)
    GTEST_SKIP() << "mounting a small tmpfs needs root";
  const std::string out = (dir.path() / "clip.mkv").string();
  const ProcessResult run = render(with({"--from", "1", "--to", "9", "--out", out, "--quiet"}, smallClip));
  const std::vector<std::string> left = filesIn(dir.path());
  umount(dir.path().c_str());
  EXPECT_EQ(run.exitStatus, 1) << run.output;
  EXPECT_NE(run.output.find("No space left on device\n"), std::string::npos) << run.output;
  EXPECT_TRUE(left.empty());
}

TEST(VideoExport, AnInterruptedExportLeavesNoFile) {
  NEED_MUSIC_AND_FFMPEG();
  TempDir dir;
  const std::string out = (dir.path() / "clip.mp4").string();
  const std::string log = (dir.path() / "log.txt").string();
  const pid_t pid = fork();
  if (pid == 0) {
    if (!freopen(log.c_str(), "w", stdout) || !freopen(log.c_str(), "a", stderr) || chdir(testSourceDir()) != 0)
      _exit(126);
    putenv(const_cast<char*>("SDL_AUDIODRIVER=dummy"));
    const std::string program = builtProgram("tarvik-render");
    execl(program.c_str(), program.c_str(), "--from", "0", "--to", "200", "--fps", "30", "--size", "64x36",
          "--render", "32", "--out", out.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  // Ctrl-C once the encoder has begun writing the temporary file.
  const auto start = std::chrono::steady_clock::now();
  while (!fs::exists(out + ".part") && std::chrono::steady_clock::now() - start < std::chrono::seconds(120))
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const bool wasWriting = fs::exists(out + ".part");
  kill(pid, SIGINT);
  int status = 0;
  waitpid(pid, &status, 0);
  fs::remove(log);
  EXPECT_TRUE(wasWriting);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 128 + SIGINT);
  EXPECT_TRUE(filesIn(dir.path()).empty());
}

TEST(VideoExport, SegmentsJoinedEqualOneRun) {
  NEED_MUSIC_AND_FFMPEG();
  if (std::system("command -v parallel > /dev/null") != 0) GTEST_SKIP() << "scripts/setup.sh installs parallel";
  TempDir dir;
  const std::string one = (dir.path() / "one.mkv").string();
  const std::string joined = (dir.path() / "joined.mkv").string();
  ASSERT_EQ(render(with({"--from", "1", "--to", "2.5", "--out", one, "--quiet"}, smallClip)).exitStatus, 0);
  std::vector<std::string> script = {"/bin/bash", std::string(testSourceDir()) + "/scripts/render_video.sh",
                                     "--segments", "2", "-j", "2", "--program", builtProgram("tarvik-render"),
                                     "--from", "1", "--to", "2.5", "--out", joined};
  script = with(script, smallClip);
  const ProcessResult run = runProcess(script, testSourceDir(), {"SDL_AUDIODRIVER=dummy"}, 0.0, 300.0);
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_EQ(probeStream(joined, "v:0")["nb_read_frames"], "15");
  const std::string expected = contentHashes(one);
  EXPECT_EQ(std::count(expected.begin(), expected.end(), '\n'), 16);  // 15 frames and the sound
  EXPECT_EQ(contentHashes(joined), expected);
}
