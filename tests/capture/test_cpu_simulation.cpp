// Frames that are only simulated run each scene's advance instead of a discarded render; the
// pictures that follow must be byte for byte those of the full simulation, in every part.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/support/process_runner.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

bool haveMusic() { return fs::exists(std::string(testSourceDir()) + "/music/tarvik.mp3"); }

std::string bytesOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

ProcessResult render(const std::string& times, const std::string& simulate, const fs::path& out) {
  const std::vector<std::string> args = {builtProgram("tarvik-render"), "--time", times, "--fps", "10", "--size",
                                         "64x36", "--quality", "low", "--render", "32", "--simulate", simulate,
                                         "--out", out.string(), "--quiet"};
  return runProcess(args, testSourceDir(), {"SDL_AUDIODRIVER=dummy"}, 0.0, 600.0);
}

}  // namespace

TEST(CpuSimulation, StillsInEveryPartEqualTheFullSimulation) {
  if (!haveMusic()) GTEST_SKIP() << "the build generates ./music/tarvik.mp3";
  TempDir dir;
  fs::create_directories(dir.path() / "cpu");
  fs::create_directories(dir.path() / "full");
  // Intro, abstract worlds, tentacles (lattice with bubbles, then the tentacles with the logo),
  // greets, exploding greets (turned by the greets' last rx and ry), logo, meta cubes, end.
  const std::string times = "30,60,130,145,170,195,205,230,255";
  const ProcessResult cpu = render(times, "cpu", dir.path() / "cpu");
  ASSERT_EQ(cpu.exitStatus, 0) << cpu.output;
  const ProcessResult full = render(times, "full", dir.path() / "full");
  ASSERT_EQ(full.exitStatus, 0) << full.output;
  std::vector<std::string> pictures;
  for (int frame : {300, 600, 1300, 1450, 1700, 1950, 2050, 2300, 2550}) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06d.png", frame);
    const std::string picture = bytesOf(dir.path() / "cpu" / name);
    ASSERT_FALSE(picture.empty()) << name;
    EXPECT_TRUE(picture == bytesOf(dir.path() / "full" / name)) << name << " differs between the two paths";
    pictures.push_back(picture);
  }
  // Nine different pictures, so the comparison is not of nine blank frames.
  std::sort(pictures.begin(), pictures.end());
  EXPECT_EQ(std::unique(pictures.begin(), pictures.end()) - pictures.begin(), 9);
}

TEST(CpuSimulation, AStillIsTheSameFrameInALongerRun) {
  if (!haveMusic()) GTEST_SKIP() << "the build generates ./music/tarvik.mp3";
  // Frames drawn on the way (130 s) leave the state exactly as advanced ones would.
  TempDir dir;
  const ProcessResult alone = render("145", "cpu", dir.path() / "alone.png");
  ASSERT_EQ(alone.exitStatus, 0) << alone.output;
  fs::create_directories(dir.path() / "run");
  const ProcessResult run = render("130,145", "cpu", dir.path() / "run");
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_TRUE(bytesOf(dir.path() / "alone.png") == bytesOf(dir.path() / "run" / "frame_001450.png"));
}
