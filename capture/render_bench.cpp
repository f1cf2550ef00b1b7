// The frame benchmark: timed frames in the middle of every part, and its report.
#include "capture/render_bench.h"

#include <GL/glew.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "app/display.h"
#include "app/options.h"
#include "app/stop_request.h"
#include "capture/offline_options.h"
#include "tooling/command_line.h"
#include "tooling/hidden_stdout.h"
#include "render/display_settings.h"
#include "scenes/tool_setup.h"
#include "tooling/tool_start.h"
#include "geometry/random_seeds.h"
#include "tooling/frame_capture.h"
#include "scenes/frame_step_render.h"
#include "timing/bench_run.h"
#include "render/shader_build_hooks.h"
#include "timing/timer_queries.h"
#include "timeline/audio.h"
#include "timeline/music.h"

namespace {

int fail(const std::string& message) {
  std::fprintf(stderr, "tarvik-render --bench: %s\n", message.c_str());
  return 1;
}

std::string glText(GLenum name) {
  const auto* text = reinterpret_cast<const char*>(glGetString(name));
  return text ? text : "unknown";
}

void printReport(const OfflineOptions& o, const std::vector<PartTiming>& parts, const std::string& renderer) {
  std::printf("\n%s%s", benchHeading(renderer, o.frames, parts).c_str(), benchTable(benchRows(parts)).c_str());
}

bool readText(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  text.assign(std::istreambuf_iterator<char>(in), {});
  return !in.bad();
}

// The earlier run's medians, read before any work so that a bad file costs nothing.
bool loadComparison(const std::string& path, std::vector<OldMedian>& old, std::string& error) {
  if (path.empty()) return true;
  std::string text;
  if (!readText(path, text)) {
    error = "cannot read " + path;
    return false;
  }
  auto parsed = parseBenchCsv(text, error);
  if (!parsed) error = path + ": " + error;
  if (parsed) old = std::move(*parsed);
  return parsed.has_value();
}

bool writeCsv(const std::string& path, const std::vector<BenchRow>& rows) {
  std::ofstream out(path, std::ios::binary);
  out << benchCsv(rows);
  out.close();
  return static_cast<bool>(out);
}

// The GL part of the run: every part measured, or fewer after a stop request. After glFinish
// every stamp of a frame is available, so each frame is read as soon as it is drawn.
std::vector<PartTiming> measureParts(BenchRun& run) {
  while (!stopRequested() && run.drawNext())
    if (!run.collectDrawn()) std::fprintf(stderr, "tarvik-render --bench: a frame's stamps were not ready after glFinish\n");
  return run.parts();
}

}  // namespace

int runRenderBench(const OfflineOptions& o) {
  std::vector<OldMedian> old;
  std::string error;
  if (!loadComparison(o.comparePath, old, error)) return fail(error);
  installStopHandlers({-1, "tarvik-render --bench: stopped by a signal"});
  HiddenStdout transcript(!o.verbose);
  DecodedAudio music;
  if (!decodeAudioFile(musicFilePath, music)) return fail(std::string("could not load music file ") + musicFilePath);
  applyToolSizes(o.quality, o.renderSize, o.width, o.height);
  useFixedSeeds(1);
  prepareToolTimeline();
  GlTimestampQueries queries;
  BenchRun run(queries, music, o.frames);
  shaderBuildHooks.programBuilt = [&run](const ShaderBuild& build) {
    run.names.note(build, build.programId);
    return build.programId;
  };
  if (!openToolDisplay("tarvik-render --bench", true)) return 1;
  if (!GlTimestampQueries::supported()) {
    shutDownDisplay();
    return fail("this GL context has no timestamp queries");
  }
  FrameCapture capture(settings.windowWidth, settings.windowHeight);
  createFrameResources();
  const std::vector<PartTiming> parts = measureParts(run);
  shaderBuildHooks = {};
  const std::string renderer = glText(GL_RENDERER) + ", OpenGL " + glText(GL_VERSION);
  shutDownDisplay();
  if (stopRequested()) {
    std::fprintf(stderr, "tarvik-render --bench: stopped by a signal\n");
    return stopExitStatus();
  }
  transcript.show();
  printReport(o, parts, renderer);
  const std::vector<BenchRow> rows = benchRows(parts);
  if (!old.empty()) std::printf("\n%s", benchComparison(rows, old).c_str());
  if (!o.csvPath.empty() && !writeCsv(o.csvPath, rows)) return fail("cannot write " + o.csvPath);
  return 0;
}
