// The offline renderer: simulates the demo frame by frame from song time 0 and writes the
// requested frames as PNGs. Frames before the first written one run every CPU-side effect
// (sync, fades, pulses, part changes) but draw nothing.
#include "capture/offline_render.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/display.h"
#include "capture/offline_options.h"
#include "app/options.h"
#include "app/stop_request.h"
#include "capture/progress_line.h"
#include "capture/video_export.h"
#include "tooling/hidden_stdout.h"
#include "scenes/tool_setup.h"
#include "tooling/tool_start.h"
#include "geometry/random_seeds.h"
#include "tooling/frame_capture.h"
#include "render/shared_uniforms.h"
#include "scenes/frame_step_render.h"
#include "timeline/audio.h"
#include "timeline/beat_sync.h"
#include "timeline/demo_parts.h"
#include "timeline/demo_state.h"
#include "timeline/fades.h"
#include "timeline/music.h"
#include "timeline/sound_bins.h"

namespace {

int fail(const std::string& message) {
  std::fprintf(stderr, "tarvik-render: %s\n", message.c_str());
  return 1;
}

std::string framePath(const OfflineOptions& o, long frame) {
  if (o.kind != OutputKind::frames) return o.out;
  char name[32];
  std::snprintf(name, sizeof name, "/frame_%06ld.png", frame);
  return o.out + name;
}

// Probes the output location before any work, so a bad path costs nothing and leaves nothing
// (except a folder of frames, made first; a still's folder must exist).
bool outputWritable(const OfflineOptions& o) {
  std::error_code ignored;
  if (o.kind == OutputKind::frames) std::filesystem::create_directories(o.out, ignored);
  const std::string probe = framePath(o, 0) + ".probe";
  FILE* file = std::fopen(probe.c_str(), "wb");
  if (!file) return false;
  std::fclose(file);
  std::remove(probe.c_str());
  return true;
}

void applyDisplaySettings(const OfflineOptions& o) {
  const char* args[] = {"tarvik-render", "windowed"};
  parseCommandLine(2, args);
  applyToolSizes(o.quality, o.renderSize, o.width, o.height);
}

// The frame numbers a PNG run writes, in ascending order.
std::vector<long> framesToWrite(const OfflineOptions& o) {
  std::vector<long> frames;
  if (o.range)
    for (long k = frameAtOrAfter(o.from, o.fps); k <= frameAtOrBefore(o.to, o.fps); ++k) frames.push_back(k);
  for (double t : o.range ? std::vector<double>{} : o.times) frames.push_back(frameAtOrBefore(t, o.fps));
  std::sort(frames.begin(), frames.end());
  frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
  return frames;
}

int renderFrames(const OfflineOptions& o, const DecodedAudio& music, FrameCapture& capture) {
  const std::vector<long> frames = framesToWrite(o);
  if (frames.empty()) return 0;
  ProgressLine progress(o.kind == OutputKind::frames ? static_cast<long>(frames.size()) : 0,
                        ProgressLine::modeFor(o.quiet), "tarvik-render");
  const auto start = std::chrono::steady_clock::now();
  size_t written = 0;
  for (long k = 0; k <= frames.back(); ++k) {
    if (stopRequested()) {
      fail("stopped by a signal");
      return stopExitStatus();
    }
    const bool draw = k == frames[written];
    stepSimulatedFrame(music, static_cast<float>(k / o.fps), draw);
    if (!draw) continue;
    const std::string path = framePath(o, k);
    watchPartialFile(temporaryPathFor(path));
    const bool saved = capture.writePng(path);
    unwatchPartialFile(temporaryPathFor(path));
    if (!saved) return fail("could not write " + path);
    ++written;
    progress.update(static_cast<long>(written),
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  progress.finish();
  if (o.quiet) return 0;
  const std::string line = o.range ? formatWrote(o.out, capture.width(), capture.height(), static_cast<long>(written),
                                                 static_cast<double>(written) / o.fps)
                                   : formatWroteStills(o.out, capture.width(), capture.height(), o.times,
                                                       static_cast<long>(written));
  std::fprintf(stderr, "%s\n", line.c_str());
  return 0;
}

// The line the stop watchdog prints when it has to end a run mid-frame.
std::string forcedEndLine(const OfflineOptions& o) {
  const bool single = o.kind != OutputKind::frames;
  return std::string("tarvik-render: stopped by a signal") + (single ? "; no file written" : "");
}

}  // namespace

int runOfflineRender(const OfflineOptions& options) {
  const bool video = options.kind == OutputKind::mp4 || options.kind == OutputKind::mkv;
  if (video && !videoToolsError().empty()) return fail(videoToolsError());
  if (!outputWritable(options)) return fail("cannot write to " + options.out);
  installStopHandlers({-1, forcedEndLine(options)});
  stopWhenParentEnds();
  HiddenStdout transcript(!options.verbose);
  DecodedAudio music;
  if (!decodeAudioFile(musicFilePath, music)) return fail(std::string("could not load music file ") + musicFilePath);
  if (options.kind == OutputKind::wav) return runSoundExport(options, music);
  applyDisplaySettings(options);
  prepareSimulatedRun(options.fullSimulation);
  if (!openToolDisplay("tarvik-render", true)) return 1;
  FrameCapture capture(settings.windowWidth, settings.windowHeight);
  createFrameResources();
  const int status = video ? runVideoExport(options, music, capture,
                                            [&](float t, bool draw) { stepSimulatedFrame(music, t, draw); })
                           : renderFrames(options, music, capture);
  shutDownDisplay();
  return status;
}
