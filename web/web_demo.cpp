// The live demo in the page: the song clock from Web Audio, one frame per animation frame of
// the browser, the end of the song (or Escape, from the page) stopping the music.
#include <emscripten.h>

#include "render/display_settings.h"
#include "render/shared_uniforms.h"
#include "scenes/demo_frame.h"
#include "scenes/tool_setup.h"
#include "timeline/audio.h"
#include "timeline/demo_parts.h"
#include "timeline/music.h"
#include "timeline/seek.h"
#include "web/web_display.h"
#include "web/web_runs.h"
#include "web/web_shader_errors.h"

namespace {
bool running = false;  // between the start (or a replay) and the end
}  // namespace

EM_JS(void, pageDemoEnded, (), { if (Module.tarvikEnded) Module.tarvikEnded(); });
EM_JS(int, pageCanvasWidth, (), { return Module.tarvikCanvasSize()[0]; });
EM_JS(int, pageCanvasHeight, (), { return Module.tarvikCanvasSize()[1]; });

namespace {

void endRun() {
  running = false;
  audioChannelPause(musicStream);
  emscripten_cancel_main_loop();
  pageDemoEnded();
}

// The canvas follows the page's window; the render targets keep the quality's size.
void followCanvasSize() {
  const int width = pageCanvasWidth(), height = pageCanvasHeight();
  if (width > 0 && height > 0 && (width != settings.windowWidth || height != settings.windowHeight))
    resizeWebDisplay(width, height);
}

void demoFrame() {
  followCanvasSize();
  if (!drawDemoFrame(readSongPosition())) endRun();
}

void runFrames() {
  running = true;
  audioChannelPlay(musicStream, false);
  emscripten_set_main_loop(demoFrame, 0, false);
}

}  // namespace

std::string startDemo(int quality, int width, int height) {
  applyToolSizes(quality, 0, width, height);
  settings.windowed = false;
  prepareToolTimeline();
  watchShaderErrors();
  if (std::string problem = openWebScenes(width, height, false); !problem.empty()) return problem;
  if (!loadMusic()) return "The music could not be played.";
  seekMusic(0.0f);
  runFrames();
  return "";
}

void stopDemo() {
  if (running) endRun();
}

void replayDemo() {
  if (running) return;
  applySeek(seekLanding(0.0f, demoTimeline, beatSync.items));
  runFrames();
}

extern "C" EMSCRIPTEN_KEEPALIVE float tarvik_song_time() { return sharedUniforms.songPosition; }

extern "C" EMSCRIPTEN_KEEPALIVE const char* tarvik_part_name() {
  const DemoPart* part = findDemoPart(demoTimeline, sharedUniforms.songPosition);
  return part ? part->name.c_str() : "";
}
