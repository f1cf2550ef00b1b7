// The demo binary end to end under Xvfb with the dummy audio driver: start-up order,
// a clean stop on SIGTERM (SDL turns it into a window close), and the start-up failures.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/process_runner.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_paths.h"

namespace {

const std::vector<std::string> dummyAudio = {"SDL_AUDIODRIVER=dummy"};


// Every anchor appears, each after the one before it.
void expectInOrder(const std::string& output, const std::vector<std::string>& anchors) {
  size_t at = 0;
  for (const std::string& anchor : anchors) {
    const size_t found = output.find(anchor, at);
    ASSERT_NE(found, std::string::npos) << "missing or out of order: \"" << anchor << "\"\n" << output;
    at = found + anchor.size();
  }
}

}  // namespace

TEST(DemoSmoke, StartsInOrderAndStopsCleanlyOnSigterm) {
  // SIGTERM once the main loop runs, however long the start-up takes on a loaded machine.
  const ProcessResult run = runProcessWatched(
      {builtProgram("tarvik"), "windowed", "mode=low"}, testSourceDir(), dummyAudio,
      [](const std::string& output, double) { return output.find(" sw2:") != std::string::npos; }, 180.0);
  ASSERT_TRUE(run.exited) << run.output;
  EXPECT_EQ(run.exitStatus, 0);
  expectInOrder(run.output, {"DEMO ENGINE\n\n", "Registered\n", " sw:", "LOAD INTRO\n", "LOAD ABSTRACT WORLDS\n",
                             "LOAD TENTACLES\n", "CreateFrameBuffer: w:512 h:512\n", "LOAD GREETS\n",
                             "LOAD EXPLODE GREETS\n", "LOAD LOGO\n", "LOAD MENGER\n", "LOAD END SCENE\n",
                             "loading resource: DirtRockTerrain.jpgoffset: 0\n",
                             "loading resource: border3.pngoffset: 936941\n", "Music loaded ok\n", "songLength: ",
                             "Synced position: 0 time: 0\n", "WINDOWED\n", " sw2:"});
  EXPECT_EQ(run.output.find("FULLSCREEN"), std::string::npos);
}

TEST(DemoSmoke, MissingMusicEndsBeforeTheLoopWithStatusZero) {
  const TempDir empty;
  const ProcessResult run =
      runProcess({builtProgram("tarvik"), "windowed", "mode=low"}, empty.path().string(), dummyAudio, 0.0, 180.0);
  ASSERT_TRUE(run.exited) << run.output;
  EXPECT_EQ(run.exitStatus, 0);
  expectInOrder(run.output, {"Registered\n", "could not open resource DirtRockTerrain.jpg\n",
                             "Could not load file:./music/tarvik.mp3\n"});
  EXPECT_EQ(run.output.find("WINDOWED"), std::string::npos) << "no presentation mode after a failed load";
}

TEST(DemoSmoke, NoAudioDeviceIsReportedWithItsCode) {
  const ProcessResult run = runProcess({builtProgram("tarvik"), "windowed", "mode=low"}, testSourceDir(),
                                       {"SDL_AUDIODRIVER=no-such-driver"}, 0.0, 180.0);
  ASSERT_TRUE(run.exited) << run.output;
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_NE(run.output.find("Can't initialize device "), std::string::npos) << run.output;
}
