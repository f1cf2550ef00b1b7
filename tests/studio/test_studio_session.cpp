// A scripted studio session under Xvfb with the dummy audio driver, keys injected as SDL events:
// it starts at part 3, seeks, jumps, pauses (nothing advances while the frame is redrawn), sees a
// saved shader edit in the picture, keeps drawing through a broken save, loops a part, pauses at
// the end point instead of quitting, and quits on Escape. It works on a copy of ./shaders/.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/display.h"
#include "studio/session.h"
#include "render/shared_uniforms.h"
#include "tests/support/temp_files.h"
#include "timeline/beat_sync.h"
#include "timeline/fades.h"
#include "timeline/sound_bins.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

const fs::path sourceDir = testSourceDir();
constexpr const char* partComposite = "shaders/postprocessors/amigaborders_part.glsl";

void press(SDL_Keycode key, Uint16 modifiers = KMOD_NONE) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.state = SDL_PRESSED;
  event.key.keysym.sym = key;
  event.key.keysym.mod = modifiers;
  SDL_PushEvent(&event);
}

void runFrames(StudioSession& session, int frames) {
  for (int i = 0; i < frames; ++i) ASSERT_TRUE(session.runFrame());
}

// Frames until `done` holds or `seconds` of wall time pass.
template <typename Done>
bool runUntil(StudioSession& session, double seconds, Done done) {
  const Uint64 end = SDL_GetTicks64() + static_cast<Uint64>(seconds * 1000.0);
  while (SDL_GetTicks64() < end) {
    if (!session.runFrame()) return false;
    if (done()) return true;
  }
  return done();
}

std::array<uint8_t, 4> centrePixel(const StudioSession& session) {
  const std::vector<uint8_t> rgba = session.picture();
  const size_t at = (static_cast<size_t>(session.pictureHeight() / 2) * session.pictureWidth() +
                     session.pictureWidth() / 2) * 4;
  if (rgba.size() < at + 4) return {};
  return {rgba[at], rgba[at + 1], rgba[at + 2], rgba[at + 3]};
}

// The working directory of the session: the music and pack of the repo, a copy of its shaders.
void prepareWorkingCopy(const fs::path& dir) {
  fs::copy(sourceDir / "shaders", dir / "shaders", fs::copy_options::recursive);
  fs::create_directory_symlink(sourceDir / "music", dir / "music");
  fs::create_symlink(sourceDir / "data.vx", dir / "data.vx");
}

}  // namespace

TEST(StudioSession, ScriptedSession) {
  if (!fs::exists(sourceDir / "music/tarvik.mp3") || !fs::exists(sourceDir / "data.vx"))
    GTEST_SKIP() << "the build generates ./music/tarvik.mp3 and ./data.vx";
  TempDir dir;
  prepareWorkingCopy(dir.path());
  ScopedWorkingDir here(dir.path());

  StudioOptions options;
  options.start = 109.766f;  // --part 3
  options.quality = 0;
  options.renderSize = 32;
  options.windowWidth = 160;
  options.windowHeight = 90;
  StudioSession session(options);
  ASSERT_TRUE(session.start());
  runFrames(session, 2);
  EXPECT_EQ(session.partIndex(), 2);
  EXPECT_GE(session.songTime(), 109.766f);
  EXPECT_LT(session.songTime(), 115.0f);

  // Seeks: one second, ten with Shift, a part forward, then part 3 again by its number.
  const float before = session.songTime();
  press(SDLK_RIGHT);
  runFrames(session, 1);
  EXPECT_GE(session.songTime(), before + 1.0f);
  press(SDLK_RIGHT, KMOD_LSHIFT);
  runFrames(session, 1);
  EXPECT_GE(session.songTime(), before + 11.0f);
  press(SDLK_PAGEDOWN);
  runFrames(session, 1);
  EXPECT_EQ(session.partIndex(), 3);
  EXPECT_GE(session.songTime(), 151.909f);
  press(SDLK_3);
  runFrames(session, 1);
  EXPECT_EQ(session.partIndex(), 2);
  EXPECT_LT(session.songTime(), 112.0f);

  // Paused: the same song time, sync cursor, pulses and spectrum peaks frame after frame.
  press(SDLK_SPACE);
  runFrames(session, 2);
  ASSERT_TRUE(session.paused());
  const float pausedAt = session.songTime();
  const size_t cursor = beatSync.cursor;
  const float light = fades.lightPulse.value;
  const SpectrumBins peaks = spectrum.held;
  SDL_Delay(300);
  runFrames(session, 3);
  // R rebuilds every scene and redraws the paused frame: still nothing moves.
  const long drawnBeforeReload = session.framesDrawn();
  press(SDLK_r);
  runFrames(session, 2);
  EXPECT_GT(session.framesDrawn(), drawnBeforeReload);
  EXPECT_EQ(session.songTime(), pausedAt);
  EXPECT_EQ(beatSync.cursor, cursor);
  EXPECT_EQ(fades.lightPulse.value, light);
  EXPECT_EQ(spectrum.held, peaks);
  const std::array<uint8_t, 4> original = centrePixel(session);

  // A saved edit of the part's composite shows on the paused frame.
  dir.write(partComposite,
            "#version 330 core\nout vec4 fragColor;\nvoid main() { fragColor = vec4(1.0, 0.0, 1.0, 1.0); }\n");
  session.pollShaderFiles();
  EXPECT_FALSE(session.statusIsError()) << session.status();
  const long drawnBeforeEdit = session.framesDrawn();
  runFrames(session, 1);
  EXPECT_GT(session.framesDrawn(), drawnBeforeEdit);
  EXPECT_EQ(centrePixel(session), (std::array<uint8_t, 4>{255, 0, 255, 255}));
  EXPECT_NE(centrePixel(session), original);
  EXPECT_EQ(session.songTime(), pausedAt);

  // A broken save is reported and the last good program keeps drawing.
  dir.write(partComposite, "#version 330 core\nout vec4 fragColor;\nvoid main() { fragColor = vec4(1.0 }\n");
  session.pollShaderFiles();
  EXPECT_TRUE(session.statusIsError());
  EXPECT_NE(session.status().find("error"), std::string::npos) << session.status();
  const long drawnBeforeBreak = session.framesDrawn();
  runFrames(session, 2);
  EXPECT_GT(session.framesDrawn(), drawnBeforeBreak);
  EXPECT_EQ(centrePixel(session), (std::array<uint8_t, 4>{255, 0, 255, 255}));

  // Help and timing overlays toggle without touching the demo's picture.
  press(SDLK_h);
  press(SDLK_t);
  runFrames(session, 1);
  EXPECT_EQ(centrePixel(session), (std::array<uint8_t, 4>{255, 0, 255, 255}));

  // The picture follows a resized window.
  SDL_SetWindowSize(window, 200, 120);
  EXPECT_TRUE(runUntil(session, 5.0, [&] { return session.pictureWidth() == 200; }));
  EXPECT_EQ(session.pictureHeight(), 120);
  EXPECT_EQ(centrePixel(session), (std::array<uint8_t, 4>{255, 0, 255, 255}));

  // Playing again: the music moves on; a part loop brings it back to the part's start.
  press(SDLK_SPACE);
  press(SDLK_l);
  runFrames(session, 1);
  EXPECT_FALSE(session.paused());
  ASSERT_TRUE(session.loop().on);
  EXPECT_FLOAT_EQ(session.loop().start, 109.766f);
  EXPECT_FLOAT_EQ(session.loop().end, 151.909f);
  session.apply({StudioCommand::Seek, 151.75f - session.songTime(), -1});
  EXPECT_TRUE(runUntil(session, 5.0, [&] { return session.songTime() < 112.0f; })) << session.songTime();
  EXPECT_EQ(session.partIndex(), 2);

  // At the end point the studio pauses instead of quitting.
  press(SDLK_l);
  session.apply({StudioCommand::Seek, 258.9f - session.songTime(), -1});
  EXPECT_TRUE(runUntil(session, 5.0, [&] { return session.paused(); }));
  EXPECT_GT(session.songTime(), 259.0f);
  runFrames(session, 2);

  press(SDLK_ESCAPE);
  EXPECT_FALSE(session.runFrame());
  session.shutDown();
}
