// A still in the page: the offline renderer's simulated run, drawn once at its last frame.
#include "render/display_settings.h"
#include "scenes/tool_setup.h"
#include "timeline/audio.h"
#include "timeline/music.h"
#include "web/web_display.h"
#include "web/web_runs.h"
#include "web/web_shader_errors.h"

std::string drawStill(double t, int width, int height, int quality) {
  applyToolSizes(quality, 0, width, height);
  prepareSimulatedRun(false);
  watchShaderErrors();
  if (std::string problem = openWebScenes(width, height, true); !problem.empty()) return problem;
  DecodedAudio music;
  if (!decodeAudioFile(musicFilePath, music)) return "The music could not be decoded.";
  const long last = frameAtOrBefore(t, defaultFramesPerSecond);
  for (long k = 0; k <= last; ++k) stepSimulatedFrame(music, static_cast<float>(k / defaultFramesPerSecond), k == last);
  return "";
}
