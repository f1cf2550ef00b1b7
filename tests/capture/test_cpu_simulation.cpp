// Frames that are only simulated run each scene's advance instead of a discarded render; the
// pictures that follow must be byte for byte those of the full simulation, in every part, and
// a list of still times is a set of grid frames whatever its order and repeats.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>

#include "tests/support/process_runner.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

constexpr double fps = 10.0;

ProcessResult render(const std::string& times, const std::string& simulate, const fs::path& out) {
  const std::vector<std::string> args = {builtProgram("tarvik-render"), "--time", times, "--fps", std::to_string(fps),
                                         "--size", "64x36", "--quality", "low", "--render", "32", "--simulate",
                                         simulate, "--out", out.string(), "--quiet"};
  return runProcess(args, testSourceDir(), {"SDL_AUDIODRIVER=dummy"}, 0.0, 600.0);
}

std::string frameName(double seconds) {
  char name[32];
  std::snprintf(name, sizeof name, "frame_%06ld.png", static_cast<long>(std::floor(seconds * fps + 1e-6)));
  return name;
}

}  // namespace

TEST(CpuSimulation, StillsInEveryPartEqualTheFullSimulationInAnyOrder) {
  TempDir dir;
  fs::create_directories(dir.path() / "cpu");
  fs::create_directories(dir.path() / "full");
  // Intro, abstract worlds, tentacles (lattice with bubbles, then the tentacles with the logo),
  // greets, exploding greets (turned by the greets' last rx and ry), logo, meta cubes, end;
  // given out of order, and 30.04 s falls on the frame of 30 s.
  const std::vector<double> times = {60, 30, 130, 145, 170, 195, 205, 230, 255};
  const ProcessResult cpu = render("60,30,130,145,170,195,205,230,255,30.04,60", "cpu", dir.path() / "cpu");
  ASSERT_EQ(cpu.exitStatus, 0) << cpu.output;
  const ProcessResult full = render("30,60,130,145,170,195,205,230,255", "full", dir.path() / "full");
  ASSERT_EQ(full.exitStatus, 0) << full.output;
  std::set<std::string> written, pictures;
  for (const auto& entry : fs::directory_iterator(dir.path() / "cpu")) written.insert(entry.path().filename());
  EXPECT_EQ(written.size(), times.size()) << "one file per frame, however often it is asked for";
  for (double t : times) {
    const std::string picture = fileBytes(dir.path() / "cpu" / frameName(t));
    ASSERT_FALSE(picture.empty()) << frameName(t);
    EXPECT_TRUE(picture == fileBytes(dir.path() / "full" / frameName(t))) << frameName(t) << " differs";
    pictures.insert(picture);
  }
  EXPECT_EQ(pictures.size(), times.size()) << "nine different pictures, not nine blank frames";
}
