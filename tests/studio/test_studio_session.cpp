// A scripted studio session under Xvfb with the dummy audio driver, keys injected as SDL
// events, on a copy of ./shaders/: seeks (1 s, 10 s), part jumps, pause (nothing
// advances while the frame is redrawn), frame steps, a saved post-pass edit seen in every
// part that draws it, a broken save reported at its file and line and a deleted file named
// while the last good program draws on, a sum too deep for a default stack, P saving the
// picture, a part loop, the end point, a drag off the strip's ends, V exporting a marked range,
// P and V refused when ./captures is a file.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "studio/session.h"
#include "tests/support/gl_context.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_paths.h"
#include "tooling/gl_session_thread.h"
#include "timeline/beat_sync.h"

namespace fs = std::filesystem;

namespace {

const fs::path sourceDir = testSourceDir();
constexpr const char* rgbSplit = "shaders/postprocessors/rgbsplit.glsl";

void push(SDL_Event event) { SDL_PushEvent(&event); }

void press(SDL_Keycode key, Uint16 modifiers = KMOD_NONE) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.keysym.sym = key;
  event.key.keysym.mod = modifiers;
  push(event);
}

// A left-button event at window pixel (x, y), the button held for a motion.
void mouse(Uint32 type, int x, int y) {
  SDL_Event event{};
  event.type = type;
  if (type == SDL_MOUSEMOTION) event.motion = {type, 0, 0, 0, SDL_BUTTON_LMASK, x, y, 0, 0};
  else event.button = {type, 0, 0, 0, SDL_BUTTON_LEFT, SDL_PRESSED, 1, 0, x, y};
  push(event);
}

void runFrames(StudioSession& session, int frames) {
  for (int i = 0; i < frames; ++i) ASSERT_TRUE(session.runFrame());
}

template <typename Done>
bool runUntil(StudioSession& session, double seconds, Done done) {
  const Uint64 end = SDL_GetTicks64() + static_cast<Uint64>(seconds * 1000.0);
  while (SDL_GetTicks64() < end && !done())
    if (!session.runFrame()) return false;
  return done();
}

// The share of the picture that is clearly magenta (red and blue well above green).
double magentaShare(const StudioSession& session) {
  const std::vector<uint8_t> rgba = session.picture();
  size_t count = 0;
  for (size_t i = 0; i + 3 < rgba.size(); i += 4) count += rgba[i] > rgba[i + 1] + 80 && rgba[i + 2] > rgba[i + 1] + 80;
  return rgba.empty() ? 0.0 : 4.0 * count / rgba.size();
}

// Width and height from a PNG's header.
std::pair<int, int> pngSize(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  unsigned char header[24] = {};
  in.read(reinterpret_cast<char*>(header), sizeof header);
  auto number = [&](int at) { return header[at] << 24 | header[at + 1] << 16 | header[at + 2] << 8 | header[at + 3]; };
  return {number(16), number(20)};
}

void scriptedSession() {
  TempDir dir;
  fs::copy(sourceDir / "shaders", dir.path() / "shaders", fs::copy_options::recursive);
  fs::create_directory_symlink(sourceDir / "music", dir.path() / "music");
  fs::create_symlink(sourceDir / "data.vx", dir.path() / "data.vx");
  ScopedWorkingDir here(dir.path());

  StudioOptions options;
  options.start = 170.0f;  // inside part 4, which draws the RGB split pass
  options.quality = 0;
  options.renderSize = 32;
  options.windowWidth = 160;
  options.windowHeight = 90;
  StudioSession session(options);
  ASSERT_TRUE(session.start());
  runFrames(session, 2);
  EXPECT_EQ(session.partIndex(), 3);

  // Seeks: 1 s, 10 s with Shift, a part forward, then part 4 again by its number.
  float before = session.songTime();
  press(SDLK_RIGHT);
  runFrames(session, 1);
  EXPECT_GE(session.songTime(), before + 1.0f);
  press(SDLK_RIGHT, KMOD_LSHIFT);
  runFrames(session, 1);
  EXPECT_GE(session.songTime(), before + 11.0f);
  press(SDLK_PAGEDOWN);
  runFrames(session, 1);
  EXPECT_EQ(session.partIndex(), 4);
  press(SDLK_4);
  press(SDLK_SPACE);
  runFrames(session, 2);
  ASSERT_TRUE(session.paused());
  EXPECT_FLOAT_EQ(session.songTime(), 151.909f);

  // A paused frame step lands on the 60 fps grid; the clock does not move between steps.
  press(SDLK_PERIOD);
  runFrames(session, 3);
  EXPECT_NEAR(session.songTime(), 9115.0f / 60.0f, 1e-4);
  const size_t cursor = beatSync.cursor;
  SDL_Delay(200);
  runFrames(session, 2);
  EXPECT_EQ(beatSync.cursor, cursor);

  // A saved edit of the RGB split pass: rebuilt in both parts that draw it, seen at once.
  session.apply({StudioCommand::Seek, 170.0f - session.songTime(), -1});
  runFrames(session, 1);
  EXPECT_LT(magentaShare(session), 0.05);
  dir.write(rgbSplit, "#version 330 core\nout vec4 fragColor;\nvoid main() { fragColor = vec4(1.0, 0.0, 1.0, 1.0); }\n");
  std::string said = captureStdout([&] { session.pollShaderFiles(); });
  EXPECT_NE(said.find("rebuilt Greets/rgbsplit, Greets explode/rgbsplit\n"), std::string::npos) << said;
  runFrames(session, 1);
  EXPECT_GT(magentaShare(session), 0.3);

  // A broken save: its file and line on stdout and in the window; the last good program draws.
  dir.write(rgbSplit, "#version 330 core\nout vec4 fragColor;\nvoid main() { fragColor = vec4(1.0 }\n");
  said = captureStdout([&] { session.pollShaderFiles(); });
  EXPECT_EQ(said.rfind("shaders/postprocessors/rgbsplit.glsl:3: ", 0), 0u) << said;
  EXPECT_TRUE(session.statusIsError());
  EXPECT_EQ(session.status().rfind("shaders/postprocessors/rgbsplit.glsl:3: ", 0), 0u) << session.status();
  press(SDLK_h);
  runFrames(session, 2);
  EXPECT_GT(magentaShare(session), 0.3);

  // Deleted: one line naming it, also on R, while the last good program draws on.
  fs::remove(dir.path() / rgbSplit);
  said = captureStdout([&] {
    session.pollShaderFiles();
    session.apply({StudioCommand::ReloadAll});
  });
  EXPECT_NE(said.find("studio: shaders/postprocessors/rgbsplit.glsl: file not found; its programs keep"),
            std::string::npos) << said;
  EXPECT_EQ(said.find("NOT FOUND"), std::string::npos) << said;
  EXPECT_EQ(session.status(), "shaders/postprocessors/rgbsplit.glsl: file not found");
  runFrames(session, 2);
  EXPECT_GT(magentaShare(session), 0.3);

  // Back as a sum of 20,000 terms: the GL's compiler recurses once a term, past a default stack. The
  // comment keeps the GL's shader cache from skipping the compile on a later run.
  std::string sum = "0.0";
  for (int i = 0; i < 20000; ++i) sum += "+0.0";
  dir.write(rgbSplit, "#version 330 core\n// " + std::to_string(SDL_GetPerformanceCounter()) +
                          "\nout vec4 fragColor;\nvoid main() { fragColor = vec4(" + sum + ", 1.0, 0.0, 1.0); }\n");
  said = captureStdout([&] { session.pollShaderFiles(); });
  EXPECT_NE(said.find("rebuilt Greets/rgbsplit, Greets explode/rgbsplit\n"), std::string::npos) << said;
  runFrames(session, 1);
  EXPECT_LT(magentaShare(session), 0.05);

  // P saves the picture without overlays, named by the song time.
  press(SDLK_p);
  runFrames(session, 1);
  EXPECT_EQ(pngSize("captures/tarvik_170.00.png"), std::make_pair(160, 90));

  // Playing a part loop comes back to the part's start.
  session.apply({StudioCommand::Seek, 60.0f - session.songTime(), -1});
  press(SDLK_SPACE);
  press(SDLK_l);
  runFrames(session, 1);
  ASSERT_TRUE(session.loop().on);
  EXPECT_FLOAT_EQ(session.loop().end, 109.766f);
  session.apply({StudioCommand::Seek, 109.6f - session.songTime(), -1});
  EXPECT_TRUE(runUntil(session, 5.0, [&] { return session.songTime() < 60.0f; })) << session.songTime();

  // At the end point the studio pauses instead of quitting.
  press(SDLK_l);
  runFrames(session, 1);
  session.apply({StudioCommand::Seek, 258.9f - session.songTime(), -1});
  EXPECT_TRUE(runUntil(session, 5.0, [&] { return session.paused(); }));

  // A drag begun on the strip reaches 0 and the end point past the window's edges.
  mouse(SDL_MOUSEBUTTONDOWN, 80, 75);
  mouse(SDL_MOUSEMOTION, -40, 20);
  runFrames(session, 1);
  EXPECT_FLOAT_EQ(session.songTime(), 0.0f);
  mouse(SDL_MOUSEMOTION, 400, 200);
  mouse(SDL_MOUSEBUTTONUP, 400, 200);
  runFrames(session, 1);
  EXPECT_NEAR(session.songTime(), 259.0f, 0.01f);

  // V exports the marked range through tarvik-render (a stand-in found on PATH) at the studio's
  // quality and render size, in the background, and reports its end.
  fs::permissions(dir.write("bin/tarvik-render", "#!/bin/sh\necho \"$@\" > export_arguments.txt\n"), fs::perms::owner_all);
  ScopedPathFirst standIn(dir.path() / "bin");
  session.apply({StudioCommand::Seek, 250.0f - session.songTime(), -1});
  session.apply({StudioCommand::MarkLoopIn});
  session.apply({StudioCommand::Seek, 2.0f, -1});
  session.apply({StudioCommand::MarkLoopOut});
  session.apply({StudioCommand::ToggleLoop});
  press(SDLK_v);
  EXPECT_TRUE(runUntil(session, 5.0, [&] { return session.status().rfind("exported ", 0) == 0; })) << session.status();
  EXPECT_EQ(fileBytes("export_arguments.txt"),
            "--from 250.000 --to 252.000 --out captures/tarvik_250.00-252.00.mp4 --quality low --render 32\n");

  // With ./captures a file, P and V each say so.
  fs::remove_all("captures");
  dir.write("captures", "");
  for (const SDL_Keycode key : {SDLK_p, SDLK_v}) {
    press(key);
    runFrames(session, 1);
    EXPECT_NE(session.status().find(": ./captures is not a folder"), std::string::npos) << session.status();
  }
  press(SDLK_ESCAPE);
  EXPECT_FALSE(session.runFrame());
  session.shutDown();
}

}  // namespace

// On the thread the studio's own session runs on.
TEST(StudioSession, ScriptedSession) {
  runGlSession([] {
    scriptedSession();
    return 0;
  });
}
