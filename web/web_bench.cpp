// The frame benchmark in the page: the offline renderer's --bench walk, one frame per browser
// frame (a WebGL timer result appears only once the page has handed control back), then the
// same report, handed to the page to show and log.
#include <emscripten.h>

#include <memory>

#include "geometry/random_seeds.h"
#include "render/display_settings.h"
#include "render/shader_build_hooks.h"
#include "scenes/tool_setup.h"
#include "timeline/audio.h"
#include "timeline/music.h"
#include "timing/bench_run.h"
#include "timing/timer_queries.h"
#include "web/web_display.h"
#include "web/web_runs.h"
#include "web/web_shader_errors.h"

EM_JS(void, pageBenchDone, (const char* report, const char* problem), {
  if (Module.tarvikBenchDone) Module.tarvikBenchDone(UTF8ToString(report), UTF8ToString(problem));
});
// The unmasked renderer where the browser tells it, as the desktop names its GL renderer.
EM_JS(void, webglRendererName, (char* out, int size), {
  var info = GLctx.getExtension('WEBGL_debug_renderer_info');
  var name = info ? GLctx.getParameter(info.UNMASKED_RENDERER_WEBGL) : GLctx.getParameter(GLctx.RENDERER);
  stringToUTF8(name + ', ' + GLctx.getParameter(GLctx.VERSION), out, size);
});

namespace {

// Browser frames a drawn frame may wait for its stamps before the run gives up (about 5 s).
constexpr int patienceFrames = 300;

struct WebBench {
  DecodedAudio music;
  GlTimestampQueries queries;
  std::unique_ptr<BenchRun> run;
  int frames = 0;
  int waited = 0;
};
WebBench bench;  // writer: startBench, then the bench's frames

// Lets go of the run and the build hook; returns `problem` for the caller to hand on.
std::string endBench(std::string problem) {
  bench.run.reset();
  shaderBuildHooks = {};
  return problem;
}

void finishBench(const std::string& problem) {
  emscripten_cancel_main_loop();
  std::string report;
  if (problem.empty()) {
    char renderer[256] = "unknown";
    webglRendererName(renderer, sizeof renderer);
    const std::vector<PartTiming>& parts = bench.run->parts();
    report = benchHeading(renderer, bench.frames, parts) + benchTable(benchRows(parts));
  }
  endBench("");
  pageBenchDone(report.c_str(), problem.c_str());
}

void benchFrame() {
  if (!bench.run->collectDrawn()) {
    if (++bench.waited > patienceFrames) finishBench("The browser's GPU timer never answered.");
    return;
  }
  bench.waited = 0;
  if (!bench.run->drawNext()) finishBench("");
}

}  // namespace

std::string startBench(int quality, int width, int height, int frames) {
  applyToolSizes(quality, 0, width, height);
  useFixedSeeds(1);
  prepareToolTimeline();
  if (!decodeAudioFile(musicFilePath, bench.music)) return "The music could not be decoded.";
  bench.frames = frames;
  bench.run = std::make_unique<BenchRun>(bench.queries, bench.music, frames);
  shaderBuildHooks.programBuilt = [](const ShaderBuild& build) {
    reportShaderErrors(build);
    bench.run->names.note(build, build.programId);
    return build.programId;
  };
  if (std::string problem = openWebScenes(width, height, false); !problem.empty()) return endBench(problem);
  if (!GlTimestampQueries::supported())
    return endBench("This browser's WebGL2 has no GPU timer (EXT_disjoint_timer_query_webgl2), "
                    "which the benchmark needs.");
  emscripten_set_main_loop(benchFrame, 0, false);
  return "";
}
