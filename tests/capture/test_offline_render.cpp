// tarvik-render end to end: the PNG it writes, determinism, and refusals that leave no file.
#include <gtest/gtest.h>
#include <stb_image.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/support/process_runner.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

bool haveMusic() { return fs::exists(std::string(testSourceDir()) + "/music/tarvik.mp3"); }

std::string tempDir() {
  char dir[] = "/tmp/tarvik-render-XXXXXX";
  return mkdtemp(dir) ? dir : "/tmp";
}

ProcessResult render(const std::vector<std::string>& extra, const std::string& cwd = testSourceDir()) {
  std::vector<std::string> args = {builtProgram("tarvik-render")};
  args.insert(args.end(), extra.begin(), extra.end());
  return runProcess(args, cwd, {"SDL_AUDIODRIVER=dummy"}, 0.0, 300.0);
}

std::string bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

TEST(OfflineRender, WritesTheRequestedSizeAndRepeatsItself) {
  if (!haveMusic()) GTEST_SKIP() << "the build generates ./music/tarvik.mp3";
  const std::string dir = tempDir();
  const std::string first = dir + "/a.png", second = dir + "/b.png";
  const ProcessResult a = render({"--time", "10", "--out", first, "--size", "320x180", "--quality", "low"});
  ASSERT_EQ(a.exitStatus, 0) << a.output;
  int w = 0, h = 0, channels = 0;
  stbi_uc* pixels = stbi_load(first.c_str(), &w, &h, &channels, 0);
  ASSERT_NE(pixels, nullptr);
  stbi_image_free(pixels);
  EXPECT_EQ(w, 320);
  EXPECT_EQ(h, 180);
  const ProcessResult b = render({"--time", "10", "--out", second, "--size", "320x180", "--quality", "low"});
  ASSERT_EQ(b.exitStatus, 0) << b.output;
  EXPECT_EQ(bytesOf(first), bytesOf(second));
  EXPECT_FALSE(fs::exists(first + ".part"));
}

TEST(OfflineRender, RangeWritesNumberedFrames) {
  if (!haveMusic()) GTEST_SKIP() << "the build generates ./music/tarvik.mp3";
  const std::string dir = tempDir();
  const ProcessResult run =
      render({"--from", "1", "--to", "1.1", "--fps", "30", "--out", dir, "--size", "64x36", "--render", "32"});
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_TRUE(fs::exists(dir + "/frame_000030.png"));
  EXPECT_TRUE(fs::exists(dir + "/frame_000033.png"));
  EXPECT_FALSE(fs::exists(dir + "/frame_000029.png"));
  EXPECT_FALSE(fs::exists(dir + "/frame_000034.png"));
}

TEST(OfflineRender, BadInputGivesOneLineAndNoFile) {
  const std::string dir = tempDir();
  const std::string out = dir + "/x.png";
  struct Case {
    std::vector<std::string> args;
    std::string cwd;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"--time", "300", "--out", out}, testSourceDir(), "time outside 0 to 259 seconds"},
      {{"--time", "10", "--out", out, "--quality", "ultra"}, testSourceDir(), "bad value for --quality"},
      {{"--bogus", "1"}, testSourceDir(), "unknown option --bogus"},
      {{"--time", "10", "--out", dir + "/missing/x.png"}, testSourceDir(), "cannot write to"},
      {{"--time", "10", "--out", out}, dir, "could not load music file ./music/tarvik.mp3"},
  };
  for (const Case& c : cases) {
    const ProcessResult run = render(c.args, c.cwd);
    EXPECT_TRUE(run.exited);
    EXPECT_NE(run.exitStatus, 0) << c.message;
    EXPECT_NE(run.output.find("tarvik-render: " + c.message), std::string::npos) << run.output;
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
    EXPECT_FALSE(fs::exists(out)) << c.message;
  }
}
