// The frame benchmark: timed frames in the middle of every part, and its report.
#include "capture/render_bench.h"

#include <GL/glew.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "app/display.h"
#include "app/options.h"
#include "app/stop_request.h"
#include "capture/bench_report.h"
#include "capture/offline_options.h"
#include "tooling/command_line.h"
#include "tooling/hidden_stdout.h"
#include "render/display_settings.h"
#include "tooling/pass_names.h"
#include "timeline/seek.h"
#include "tooling/timer_ring.h"
#include "scenes/tool_setup.h"
#include "tooling/tool_start.h"
#include "geometry/random_seeds.h"
#include "tooling/frame_capture.h"
#include "render/pass_timing_hook.h"
#include "render/shader_build_hooks.h"
#include "render/shared_uniforms.h"
#include "tooling/timer_queries.h"
#include "scenes/frame_step_render.h"
#include "timeline/audio.h"
#include "timeline/beat_sync.h"
#include "timeline/demo_parts.h"
#include "timeline/demo_state.h"
#include "timeline/music.h"
#include "timeline/sound_bins.h"

namespace {

// Frames drawn at each part before measuring: the driver finishes building its programs on
// their first draws.
constexpr int warmUpFrames = 2;
constexpr double frameSeconds = 1.0 / 60.0;

int fail(const std::string& message) {
  std::fprintf(stderr, "tarvik-render --bench: %s\n", message.c_str());
  return 1;
}

struct BenchTimers {
  ProgramNames names;
  GlTimestampQueries queries;
  TimerRing ring{queries, 4};
};

void markPass(void* context, PassKind kind, uint32_t programId, bool begin) {
  auto* timers = static_cast<BenchTimers*>(context);
  timers->ring.markPass(timers->names.passName(kind, programId), begin);
}

void drawFrame(const DecodedAudio& music, float t) {
  sharedUniforms.songPosition = t;
  advanceDemoPart(t);
  spectrumAt(music, t, spectrum.raw.data());
  frameStepWithSpectrum(true, true);
}

PartTiming measurePart(const DemoPart& part, const DecodedAudio& music, BenchTimers& timers, int frames) {
  const float middle = 0.5f * (part.start + std::min(part.end, demoEndTime));
  placeTimeline(seekLanding(middle, demoTimeline, beatSync.items));
  PartTiming timing;
  timing.partName = part.name;
  for (int k = 0; k < warmUpFrames + frames && !stopRequested(); ++k) {
    const float t = middle + static_cast<float>(k * frameSeconds);
    const auto start = std::chrono::steady_clock::now();
    timers.ring.beginFrame();
    drawFrame(music, t);
    timers.ring.endFrame();
    glFinish();
    const double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    // After glFinish every stamp of the frame is available, so this reads the frame just drawn.
    timers.ring.collect();
    if (k < warmUpFrames) continue;
    if (k == warmUpFrames) timing.firstTime = t;
    timing.lastTime = t;
    std::vector<std::pair<std::string, double>> passTimes;
    for (const PassTime& pass : timers.ring.latest()) passTimes.push_back({pass.name, pass.milliseconds});
    timing.addFrame(passTimes, wall);
  }
  return timing;
}

std::string glText(GLenum name) {
  const auto* text = reinterpret_cast<const char*>(glGetString(name));
  return text ? text : "unknown";
}

void printReport(const OfflineOptions& o, const std::vector<PartTiming>& parts, const std::string& renderer) {
  std::printf("\nframe benchmark on %s\nquality %s, render %dx%d, output %dx%d, %d frame%s from the middle of each part"
              " (median, then min-max, over the frames)\n",
              renderer.c_str(), qualityName(settings.quality), settings.renderWidth, settings.renderHeight,
              settings.windowWidth, settings.windowHeight, o.frames, o.frames == 1 ? "" : "s");
  for (size_t i = 0; i < parts.size(); ++i)
    std::printf("  part %zu: %-20s song time %.3f to %.3f s\n", i + 1, parts[i].partName.c_str(), parts[i].firstTime,
                parts[i].lastTime);
  std::printf("%s", benchTable(benchRows(parts)).c_str());
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

// The GL part of the run: every part measured, or fewer after a stop request.
std::vector<PartTiming> measureParts(const OfflineOptions& o, const DecodedAudio& music, BenchTimers& timers) {
  std::vector<PartTiming> parts;
  passTimingHook = {&markPass, &timers};
  for (const DemoPart& part : demoTimeline) {
    if (stopRequested()) break;
    parts.push_back(measurePart(part, music, timers, o.frames));
  }
  passTimingHook = {};
  return parts;
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
  BenchTimers timers;
  shaderBuildHooks.programBuilt = [&timers](const ShaderBuild& build) {
    timers.names.note(build, build.programId);
    return build.programId;
  };
  if (!openToolDisplay("tarvik-render --bench", true)) return 1;
  if (!GlTimestampQueries::supported()) {
    shutDownDisplay();
    return fail("this GL context has no timestamp queries");
  }
  FrameCapture capture(settings.windowWidth, settings.windowHeight);
  createFrameResources();
  const std::vector<PartTiming> parts = measureParts(o, music, timers);
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
