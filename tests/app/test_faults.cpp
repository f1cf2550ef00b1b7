// Faults a user can run into, each ending cleanly: the demo and the offline renderer started as
// child processes on broken input or a world that fails under them (the X server killed, the
// audio sink stalling or closing, no display at all). Each case checks the exit status, the
// line printed, and that no signal (a crash, a sanitizer abort) ended the process.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "resources/pack_directory.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/process_runner.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

const std::string musicLoadFailed = "Could not load file:./music/tarvik.mp3\n";
const std::string rendererMusicFailed = "tarvik-render: could not load music file ./music/tarvik.mp3";

std::string sourceMusic() { return std::string(testSourceDir()) + "/music/tarvik.mp3"; }
std::string sourcePack() { return std::string(testSourceDir()) + "/data.vx"; }

size_t countOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
  return count;
}

// A working directory for the demo: the given music bytes (or none) and the real pack.
struct DemoFolder {
  TempDir dir;
  explicit DemoFolder(const std::string* musicBytes) {
    if (musicBytes) dir.write("music/tarvik.mp3", *musicBytes);
    std::error_code ignored;
    fs::create_symlink(sourcePack(), dir.path() / "data.vx", ignored);
  }
  void linkRealMusic() {
    std::error_code ignored;
    fs::create_directories(dir.path() / "music", ignored);
    fs::create_symlink(sourceMusic(), dir.path() / "music/tarvik.mp3", ignored);
  }
  std::string path() const { return dir.path().string(); }
};

ProcessResult runDemo(const std::string& cwd, std::vector<std::string> env, const ProcessWatch& watch,
                      double deadline = 180.0) {
  env.push_back("SDL_AUDIODRIVER=dummy");
  return runProcessWatched({builtProgram("tarvik"), "windowed", "mode=low"}, cwd, env, watch, deadline);
}

// Sends SIGTERM once `line` has been printed and `settle` seconds have passed since it was seen.
ProcessWatch stopAfter(const std::string& line, double settle) {
  auto seenAt = std::make_shared<double>(-1.0);
  return [=](const std::string& output, double elapsed) {
    if (*seenAt < 0 && output.find(line) != std::string::npos) *seenAt = elapsed;
    return *seenAt >= 0 && elapsed - *seenAt >= settle;
  };
}

const ProcessWatch noWatch = nullptr;

// Ended by itself with `status`, not by a signal or the deadline, and nothing a sanitizer says.
void expectCleanEnd(const ProcessResult& run, int status) {
  EXPECT_FALSE(run.timedOut) << "hung until the deadline\n" << run.output;
  EXPECT_EQ(run.endSignal, 0) << "ended by signal " << run.endSignal << "\n" << run.output;
  EXPECT_TRUE(run.exited) << run.output;
  EXPECT_EQ(run.exitStatus, status) << run.output;
  EXPECT_EQ(run.output.find("Sanitizer"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("runtime error:"), std::string::npos) << run.output;
}

std::string wavWithRate(int rate, int frames) {
  std::vector<float> samples(static_cast<size_t>(frames) * 2, 0.25f);
  return wavBytes(samples, rate, 2);
}

// An Xvfb of our own on a free display, so that the test can kill it under the demo.
class OwnXServer {
 public:
  OwnXServer() {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(fds[0]);
      const std::string fd = std::to_string(fds[1]);
      const int devNull = open("/dev/null", O_WRONLY);
      dup2(devNull, STDOUT_FILENO);
      dup2(devNull, STDERR_FILENO);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x720x24", "-nolisten", "tcp",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    display_ = readDisplayNumber(fds[0]);
    close(fds[0]);
  }
  ~OwnXServer() { kill(); }
  OwnXServer(const OwnXServer&) = delete;
  OwnXServer& operator=(const OwnXServer&) = delete;

  bool ready() const { return pid_ > 0 && !display_.empty(); }
  std::string display() const { return display_; }
  void kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  // Xvfb writes the display number it took, then a line feed, once it accepts clients.
  static std::string readDisplayNumber(int fd) {
    std::string number;
    pollfd p{fd, POLLIN, 0};
    char c = 0;
    while (poll(&p, 1, 20000) > 0 && read(fd, &c, 1) == 1 && c != '\n') number += c;
    return number.empty() ? "" : ":" + number;
  }

  pid_t pid_ = -1;
  std::string display_;
};

// The reading end of a FIFO that SDL's disk audio driver writes the demo's sound into: a shell
// drains it until told to stop, then closes it (the device is gone: SDL notices the failed
// write) or keeps it open without reading (the driver's write blocks for good).
class AudioSink {
 public:
  enum class Then { close, stall };
  AudioSink(const fs::path& folder, Then then) : path_((folder / "sink.fifo").string()), stop_(folder / "stop") {
    mkfifo(path_.c_str(), 0600);
    // The shell holds the FIFO open from first to last, so a stall never looks like a close.
    const std::string script = "exec 3< '" + path_ + "'; until [ -e '" + stop_.string() +
                               "' ]; do dd bs=65536 count=1 <&3 > /dev/null 2>&1; done" +
                               (then == Then::stall ? "; exec sleep 600" : "");
    pid_ = fork();
    if (pid_ == 0) {
      execl("/bin/sh", "sh", "-c", script.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~AudioSink() {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  AudioSink(const AudioSink&) = delete;
  AudioSink& operator=(const AudioSink&) = delete;
  void stopReading() const { std::ofstream{stop_}; }
  std::string path() const { return path_; }

 private:
  std::string path_;
  fs::path stop_;
  pid_t pid_ = -1;
};

void runWithFailingAudioSink(AudioSink::Then then) {
  TempDir dir;
  const AudioSink sink(dir.path(), then);
  const std::string clockLine = "Audio output stopped at ";
  auto loopSeenAt = std::make_shared<double>(-1.0);
  const ProcessWatch watch = [&, loopSeenAt](const std::string& output, double elapsed) {
    if (*loopSeenAt < 0 && output.find("WINDOWED\n") != std::string::npos) *loopSeenAt = elapsed;
    if (*loopSeenAt >= 0 && elapsed - *loopSeenAt > 2.0) sink.stopReading();
    return output.find(clockLine) != std::string::npos;
  };
  const ProcessResult run = runProcessWatched(
      {builtProgram("tarvik"), "windowed", "mode=low"}, testSourceDir(),
      {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + sink.path()}, watch, 180.0);
  expectCleanEnd(run, 0);
  EXPECT_EQ(countOf(run.output, clockLine), 1u) << run.output;
  const size_t at = run.output.find(clockLine);
  ASSERT_NE(at, std::string::npos) << run.output;
  EXPECT_GT(std::stod(run.output.substr(at + clockLine.size())), 1.0) << "the song played a while first";
  EXPECT_NE(run.output.find(" s, the song clock goes on by the wall clock\n"), std::string::npos) << run.output;
}

}  // namespace

TEST(Faults, XServerKilledMidRunEndsWithOneLineAndNoCrash) {
  // An audio thread that reads streams while exit() destroys statics crashes in about two runs
  // of five; three runs make such a race likely to show.
  for (int attempt = 0; attempt < 3; ++attempt) {
    OwnXServer server;
    ASSERT_TRUE(server.ready()) << "Xvfb did not start";
    auto loopSeenAt = std::make_shared<double>(-1.0);
    const ProcessWatch killServer = [&, loopSeenAt](const std::string& output, double elapsed) {
      if (*loopSeenAt < 0 && output.find("WINDOWED\n") != std::string::npos) *loopSeenAt = elapsed;
      if (*loopSeenAt >= 0 && elapsed - *loopSeenAt > 1.5 + attempt) server.kill();
      return false;
    };
    const ProcessResult run = runDemo(testSourceDir(), {"DISPLAY=" + server.display()}, killServer);
    expectCleanEnd(run, 0);
    EXPECT_EQ(countOf(run.output, "Lost the connection to the display\n"), 1u) << run.output;
  }
}

// A music file that is a folder, empty, or a WAV at an absurd rate: the demo says it could not
// load it and presents nothing; the renderer refuses with one line.
TEST(Faults, UnplayableMusicFilesAreRefused) {
  const std::string empty, oneHz = wavWithRate(1, 2000), fourKHz = wavWithRate(4000, 2000),
                    megaHz = wavWithRate(1000000, 2000);
  for (const std::string* music : {static_cast<const std::string*>(nullptr), &empty, &oneHz, &fourKHz, &megaHz}) {
    DemoFolder folder(music);
    if (!music) fs::create_directories(folder.dir.path() / "music/tarvik.mp3");
    SCOPED_TRACE(music ? std::to_string(music->size()) + " bytes" : "a folder");
    const ProcessResult demo = runDemo(folder.path(), {}, noWatch);
    expectCleanEnd(demo, 0);
    EXPECT_NE(demo.output.find(musicLoadFailed), std::string::npos) << demo.output;
    EXPECT_EQ(demo.output.find("WINDOWED"), std::string::npos) << "no presentation after a failed load";
    if (music == &fourKHz || music == &megaHz) continue;
    const ProcessResult renderer = runRenderer({"--time", "1", "--out", folder.path() + "/x.png"}, {}, folder.path());
    expectCleanEnd(renderer, 1);
    EXPECT_EQ(renderer.output, rendererMusicFailed + "\n");
  }
}

TEST(Faults, ShortTrackPlaysOnAsSilence) {
  const std::string twoSeconds = wavBytes(sineTone(440, 2.0, 44100, 2, 0.3f), 44100, 2);
  DemoFolder folder(&twoSeconds);
  const std::string endLine = "Music ended at 2 s, the demo plays on in silence\n";
  const ProcessResult run = runDemo(folder.path(), {}, stopAfter(endLine, 1.0));
  expectCleanEnd(run, 0);
  EXPECT_NE(run.output.find("songLength: 2\n"), std::string::npos) << run.output;
  EXPECT_EQ(countOf(run.output, endLine), 1u) << run.output;
}

// A sink that closes, and one that stalls (so that shutting down must not wait on its write).
TEST(Faults, AudioSinkThatClosesOrStallsHandsTheClockToTheWallClock) {
  for (const AudioSink::Then then : {AudioSink::Then::close, AudioSink::Then::stall}) runWithFailingAudioSink(then);
}

TEST(Faults, NoDisplayIsRefusedUnlessAnInvisibleDriverIsAsked) {
  // A bare name removes the variable from the child's environment.
  const std::vector<std::string> noDisplay = {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"};
  const ProcessResult refused = runDemo(testSourceDir(), noDisplay, noWatch);
  expectCleanEnd(refused, 0);
  const size_t sdlLine = refused.output.find("SDL could not initialize! SDL Error: ");
  ASSERT_NE(sdlLine, std::string::npos) << refused.output;
  EXPECT_NE(refused.output.find("Failed to initialize!\n", sdlLine), std::string::npos) << refused.output;
  EXPECT_EQ(refused.output.find("LOAD INTRO"), std::string::npos) << "nothing after the refusal";

  std::vector<std::string> asked = noDisplay;
  asked.push_back("SDL_VIDEODRIVER=offscreen");
  const ProcessResult allowed = runDemo(testSourceDir(), asked, stopAfter("WINDOWED\n", 0.5));
  expectCleanEnd(allowed, 0);
  EXPECT_EQ(allowed.output.find("Failed to initialize!"), std::string::npos) << allowed.output;

  TempDir out;
  const std::string png = (out.path() / "still.png").string();
  const ProcessResult still =
      runRenderer({"--time", "0.5", "--out", png, "--size", "32x18", "--render", "16", "--fps", "10"}, noDisplay);
  expectCleanEnd(still, 0);
  EXPECT_TRUE(fs::exists(png)) << still.output;
}

TEST(Faults, PackEntryThatDoesNotDecodeIsNamedAndTheDemoCarriesOn) {
  DemoFolder folder(nullptr);
  folder.linkRealMusic();
  std::string pack = fileBytes(sourcePack());
  fs::remove(folder.dir.path() / "data.vx");
  const PackEntry* overlay = findPackEntry("overlay.png");
  ASSERT_NE(overlay, nullptr);
  pack.replace(overlay->offset, 64, std::string(64, 'x'));
  folder.dir.write("data.vx", pack);

  const ProcessResult run = runDemo(folder.path(), {}, stopAfter("WINDOWED\n", 1.0));
  expectCleanEnd(run, 0);
  EXPECT_EQ(countOf(run.output, "could not decode resource "), 1u) << run.output;
  EXPECT_NE(run.output.find("could not decode resource overlay.png\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("Music loaded ok\n"), std::string::npos) << run.output;
}

// The tools refuse a render size they cannot draw, a still they cannot write and a pack that
// would give stand-in pictures, before any output: one line naming the problem (the first bad
// entry), status 1, no file.
TEST(Faults, ToolsRefuseOverLargeSizesAndBadPacksBeforeAnyOutput) {
  const std::string pack = fileBytes(sourcePack());
  const PackEntry* overlay = findPackEntry("overlay.png");
  ASSERT_NE(overlay, nullptr);
  const std::string empty;
  std::string corrupt = pack;
  corrupt.replace(overlay->offset + 16, 64, std::string(64, 'x'));
  const std::vector<std::string> still = {"tarvik-render", "--time", "1", "--size", "32x18", "--out", "still.png"};
  const std::vector<std::string> intoMissing = {"tarvik-render", "--time", "1", "--out", "missing/still.png"};
  const std::vector<std::string> bench = {"tarvik-render", "--bench", "--size", "32x18", "--frames", "1"};
  const std::vector<std::string> studio = {"tarvik-studio", "mode=low"};
  struct Row {
    std::vector<std::string> command;
    const std::string* packBytes;  // nullptr: no pack at all
    bool packIsFolder;
    std::string line;
  };
  const std::vector<Row> rows = {
      {still, &pack, false, "tarvik-render: --render: not a whole number from 1 to 4096: 4097"},
      {intoMissing, &pack, false, "tarvik-render: cannot write to missing/still.png"},
      {still, &corrupt, false, "tarvik-render: pack entry overlay.png in ./data.vx does not decode"},
      {still, nullptr, false, "tarvik-render: cannot open the pack ./data.vx: No such file or directory"},
      {still, nullptr, true, "tarvik-render: the pack ./data.vx is not a regular file"},
      {still, &empty, false, "tarvik-render: pack entry DirtRockTerrain.jpg in ./data.vx does not decode"},
      {bench, &corrupt, false, "tarvik-render --bench: pack entry overlay.png in ./data.vx does not decode"},
      {studio, &corrupt, false, "tarvik-studio: pack entry overlay.png in ./data.vx does not decode"},
  };
  for (const Row& row : rows) {
    DemoFolder folder(nullptr);
    folder.linkRealMusic();
    fs::remove(folder.dir.path() / "data.vx");
    if (row.packBytes) folder.dir.write("data.vx", *row.packBytes);
    if (row.packIsFolder) fs::create_directories(folder.dir.path() / "data.vx");
    std::vector<std::string> args = row.command;
    args[0] = builtProgram(args[0]);
    if (row.line.find("4097") != std::string::npos) args.insert(args.end(), {"--render", "4097"});
    const ProcessResult run = runProcessWatched(args, folder.path(), {"SDL_AUDIODRIVER=dummy"}, noWatch, 120.0);
    expectCleanEnd(run, 1);
    EXPECT_EQ(run.output.rfind(row.line, 0), 0u) << run.output;
    EXPECT_EQ(countOf(run.output, "\n"), 1u) << run.output;
    EXPECT_FALSE(fs::exists(folder.dir.path() / "still.png")) << row.line;
  }
}

// The stop signals end every program cleanly: the demo and the studio as on Escape, an export
// with status 128 + the signal and none of its partial files; a frame far slower than the
// grace period (a 4096 square render at high quality on every simulated frame) does not delay
// the end beyond the watchdog's grace.
TEST(Faults, StopSignalsEndEachProgramCleanly) {
  TempDir out;
  const std::string mp4 = (out.path() / "clip.mp4").string();
  const auto partExists = [mp4](const std::string&, double) { return fs::exists(mp4 + ".part"); };
  const std::vector<std::string> export200s = {"--from", "0", "--to", "200", "--fps", "30", "--size", "64x36",
                                               "--render", "32", "--out", mp4};
  const std::vector<std::string> slowStill = {"--time", "5", "--simulate", "full", "--quality", "high", "--render",
                                              "4096", "--size", "64x36", "--out", (out.path() / "x.png").string()};
  struct Case {
    std::string program;
    std::vector<std::string> args;
    int signal;
    ProcessWatch when;
    int status;
    double endsWithin;  // seconds after the signal
  };
  // The demo and the studio end between frames, as on Escape: a frame of a sanitized build on a
  // loaded machine may take seconds. The renderer's watchdog ends a run 1.2 s after the signal;
  // its bound leaves room for a loaded machine, while the slow still without it would run for
  // minutes.
  const std::vector<Case> cases = {
      {"tarvik", {"windowed", "mode=low"}, SIGHUP, stopAfter("WINDOWED\n", 0.5), 0, 60.0},
      {"tarvik", {"windowed", "mode=low"}, SIGINT, stopAfter("WINDOWED\n", 0.5), 0, 60.0},
      {"tarvik-studio", {"mode=low", "--render", "32"}, SIGHUP, stopAfter("first build from ./shaders/", 0.5), 0, 60.0},
      {"tarvik-render", export200s, SIGHUP, partExists, 128 + SIGHUP, 8.0},
      {"tarvik-render", slowStill, SIGTERM, stopAfter("", 8.0), 128 + SIGTERM, 8.0},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.begin(), builtProgram(c.program));
    const ProcessResult run =
        runProcessWatched(args, testSourceDir(), {"SDL_AUDIODRIVER=dummy"}, c.when, 180.0, c.signal);
    SCOPED_TRACE(c.program + " " + strsignal(c.signal));
    ASSERT_GE(run.signalledAt, 0.0) << run.output;
    expectCleanEnd(run, c.status);
    EXPECT_LT(run.endedAt - run.signalledAt, c.endsWithin);
    EXPECT_TRUE(fs::is_empty(out.path())) << "partial files left";
  }
}

// The studio's export names the studio as its parent: killed outright, the studio cannot stop
// it, so the renderer stops itself (and removes its partial files, as above). A shell stands in
// for the studio, killed a second after the start; rendering on would take minutes.
TEST(Faults, AnExportWhoseParentIsKilledStops) {
  TempDir out;
  const std::string script = "export TARVIK_STOP_WITH_PARENT=$$; '" + builtProgram("tarvik-render") +
                             "' --from 0 --to 200 --fps 30 --size 64x36 --render 32 --quiet --out '" +
                             (out.path() / "clip.mp4").string() + "' & echo $! >&2; sleep 1; kill -KILL $$";
  const ProcessResult run = runProcess({"/bin/sh", "-c", script}, testSourceDir(), {"SDL_AUDIODRIVER=dummy"}, 0.0, 60.0);
  const int renderer = std::atoi(run.output.c_str());
  ASSERT_GT(renderer, 0) << run.output;
  const std::string stat = "/proc/" + std::to_string(renderer) + "/stat";
  const auto running = [&stat] {  // a renderer ended but not yet reaped by its new parent is Z
    std::string pid, name, state;
    std::ifstream(stat) >> pid >> name >> state;
    return !state.empty() && state != "Z";
  };
  for (int wait = 0; wait < 300 && running(); ++wait) usleep(100000);
  EXPECT_FALSE(running()) << run.output;
}
