// The frame benchmark: timed frames in the middle of every part.
#include "capture/render_bench.h"

#include <GL/glew.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "app/display.h"
#include "app/options.h"
#include "render/display_settings.h"
#include "render/pass_names.h"
#include "timeline/seek.h"
#include "render/timer_ring.h"
#include "tooling/tool_setup.h"
#include "tooling/tool_start.h"
#include "geometry/random_seeds.h"
#include "render/frame_capture.h"
#include "render/pass_timing_hook.h"
#include "render/shader_build_hooks.h"
#include "render/shared_uniforms.h"
#include "render/timer_queries.h"
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

bool parsePositive(const std::string& text, int& value) {
  char* end = nullptr;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || *end != '\0' || parsed <= 0 || parsed > 16384) return false;
  value = static_cast<int>(parsed);
  return true;
}

bool parseSize(const std::string& text, int& width, int& height) {
  const size_t x = text.find('x');
  return x != std::string::npos && parsePositive(text.substr(0, x), width) && parsePositive(text.substr(x + 1), height);
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

// Sums of one part's measured frames.
struct PartSums {
  std::vector<std::pair<std::string, double>> passes;
  double wall = 0.0;
  int frames = 0;

  void addFrame(const std::vector<PassTime>& frame, double wallMilliseconds) {
    for (const PassTime& pass : frame) {
      auto found = std::find_if(passes.begin(), passes.end(), [&](const auto& p) { return p.first == pass.name; });
      if (found == passes.end()) passes.push_back({pass.name, pass.milliseconds});
      else found->second += pass.milliseconds;
    }
    wall += wallMilliseconds;
    ++frames;
  }
};

void drawFrame(const DecodedAudio& music, float t) {
  sharedUniforms.songPosition = t;
  advanceDemoPart(t);
  spectrumAt(music, t, spectrum.raw.data());
  frameStepWithSpectrum(true, true);
}

PartTiming measurePart(const DemoPart& part, const DecodedAudio& music, BenchTimers& timers, int frames) {
  const float middle = 0.5f * (part.start + std::min(part.end, demoEndTime));
  placeTimeline(seekLanding(middle, demoTimeline, beatSync.items));
  PartSums sums;
  for (int k = 0; k < warmUpFrames + frames; ++k) {
    const float t = middle + static_cast<float>(k * frameSeconds);
    const auto start = std::chrono::steady_clock::now();
    timers.ring.beginFrame();
    drawFrame(music, t);
    timers.ring.endFrame();
    glFinish();
    const double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    // After glFinish every stamp of the frame is available, so this reads the frame just drawn.
    timers.ring.collect();
    if (k >= warmUpFrames) sums.addFrame(timers.ring.latest(), wall);
  }
  PartTiming timing{part.name, {}, sums.wall / std::max(sums.frames, 1)};
  for (const auto& [name, total] : sums.passes) timing.passes.push_back({name, total / std::max(sums.frames, 1)});
  return timing;
}

std::string cell(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%10.2f", value);
  return text;
}

}  // namespace

bool wantsRenderBench(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i)
    if (std::string(argv[i]) == "--bench") return true;
  return false;
}

std::optional<BenchOptions> parseBenchOptions(int argc, const char* const* argv, std::string& error) {
  BenchOptions o;
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    if (name == "--bench") continue;
    if (i + 1 >= argc) {
      error = "missing value for " + name;
      return std::nullopt;
    }
    const std::string value = argv[++i];
    bool ok = true;
    if (name == "--quality") ok = parseQualityName(value, o.quality);
    else if (name == "--size") ok = parseSize(value, o.width, o.height);
    else if (name == "--render") ok = parsePositive(value, o.renderSize);
    else if (name == "--frames") ok = parsePositive(value, o.frames);
    else {
      error = "unknown option " + name;
      return std::nullopt;
    }
    if (!ok) {
      error = "bad value for " + name + ": " + value;
      return std::nullopt;
    }
  }
  return o;
}

std::string benchTable(const std::vector<PartTiming>& parts) {
  std::vector<std::string> names;
  for (const PartTiming& part : parts)
    for (const auto& [name, ms] : part.passes)
      if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  char label[64];
  std::string table = "pass (GPU ms)  ";
  for (size_t i = 0; i < parts.size(); ++i) {
    std::snprintf(label, sizeof label, "%10s", ("part " + std::to_string(i + 1)).c_str());
    table += label;
  }
  table += "\n";
  std::vector<double> sums(parts.size(), 0.0);
  for (const std::string& name : names) {
    std::snprintf(label, sizeof label, "%-15s", name.c_str());
    table += label;
    for (size_t i = 0; i < parts.size(); ++i) {
      const auto& passes = parts[i].passes;
      const auto found = std::find_if(passes.begin(), passes.end(), [&](const auto& p) { return p.first == name; });
      if (found == passes.end()) {
        table += "         -";
        continue;
      }
      table += cell(found->second);
      sums[i] += found->second;
    }
    table += "\n";
  }
  const auto row = [&](const char* title, auto value) {
    std::snprintf(label, sizeof label, "%-15s", title);
    table += label;
    for (size_t i = 0; i < parts.size(); ++i) table += cell(value(i));
    table += "\n";
  };
  row("GPU sum", [&](size_t i) { return sums[i]; });
  row("wall / frame", [&](size_t i) { return parts[i].wallMilliseconds; });
  row("overhead ms", [&](size_t i) { return parts[i].wallMilliseconds - sums[i]; });
  row("overhead %", [&](size_t i) {
    return parts[i].wallMilliseconds > 0.0 ? 100.0 * (parts[i].wallMilliseconds - sums[i]) / parts[i].wallMilliseconds
                                           : 0.0;
  });
  return table;
}

int runRenderBench(int argc, const char* const* argv) {
  std::string error;
  const auto options = parseBenchOptions(argc, argv, error);
  if (!options)
    return fail(error + " (usage: tarvik-render --bench [--quality low|medium|high] [--size WxH] [--render N]"
                        " [--frames N])");
  DecodedAudio music;
  if (!decodeAudioFile(musicFilePath, music)) return fail(std::string("could not load music file ") + musicFilePath);
  applyToolSizes(options->quality, options->renderSize, options->width, options->height);
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
  passTimingHook = {&markPass, &timers};
  std::vector<PartTiming> parts;
  for (const DemoPart& part : demoTimeline) parts.push_back(measurePart(part, music, timers, options->frames));
  passTimingHook = {};
  shaderBuildHooks = {};
  std::printf("\nframe benchmark: quality %d, render %dx%d, output %dx%d, %d frames from the middle of each part\n",
              settings.quality, settings.renderWidth, settings.renderHeight, settings.windowWidth,
              settings.windowHeight, options->frames);
  for (size_t i = 0; i < parts.size(); ++i) std::printf("  part %zu: %s\n", i + 1, parts[i].partName.c_str());
  std::printf("%s", benchTable(parts).c_str());
  std::fflush(stdout);
  shutDownDisplay();
  return 0;
}
