// The video export loop: simulate up to the span, draw and pipe its frames, then rename.
#include "capture/video_export.h"

#include <chrono>
#include <cstdio>
#include <utility>
#include <vector>

#include "app/stop_request.h"
#include "capture/progress_line.h"
#include "capture/sound_span.h"
#include "capture/video_encoder.h"
#include "tooling/child_process.h"
#include "tooling/frame_capture.h"
#include "capture/pbo_readback.h"

namespace {

constexpr int readbackRing = 3;

int fail(const std::string& message) {
  std::fprintf(stderr, "tarvik-render: %s\n", message.c_str());
  return 1;
}

int stopped() {
  std::fprintf(stderr, "tarvik-render: stopped by a signal; no file written\n");
  return stopExitStatus();
}

// Removes the temporary files on every way out except a completed rename, and has the stop
// watchdog remove them if a frame outlasts a stop request.
class TemporaryFiles {
 public:
  void add(const std::string& path) {
    paths_.push_back(path);
    watchPartialFile(path);
  }
  ~TemporaryFiles() {
    for (const std::string& path : paths_) {
      std::remove(path.c_str());
      unwatchPartialFile(path);
    }
  }

 private:
  std::vector<std::string> paths_;
};

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Draws the span's frames and hands them to the encoder. False when the encoder stopped taking
// frames (its own error comes from finish) or a stop was requested.
bool encodeSpan(const OfflineOptions& o, const FrameCapture& capture, const FrameStepper& stepFrame,
                EncoderProcess& encoder) {
  const long frames = videoFrameCount(o.from, o.to, o.fps);
  ProgressLine progress(frames, ProgressLine::modeFor(o.quiet), "tarvik-render");
  PboReadback readback(capture.width(), capture.height(), readbackRing);
  const auto start = std::chrono::steady_clock::now();
  std::vector<uint8_t> pixels;
  for (long k = 0; k < frames; ++k) {
    if (stopRequested()) return false;
    stepFrame(static_cast<float>(videoFrameTime(o.from, o.fps, k)), true);
    if (readback.queue(capture.framebuffer(), pixels) && !encoder.submit(std::move(pixels))) return false;
    progress.update(k + 1, secondsSince(start));
  }
  progress.finish();
  while (readback.collect(pixels))
    if (!encoder.submit(std::move(pixels))) return false;
  return true;
}

}  // namespace


double videoFrameTime(double from, double fps, long k) { return static_cast<double>(frameAtOrAfter(from, fps) + k) / fps; }

std::string temporaryPathFor(const std::string& out) { return out + ".part"; }

std::string videoToolsError() {
  if (findOnPath("ffmpeg").empty()) return missingProgramError("ffmpeg", encoderInstallHint);
  return "";
}

int runVideoExport(const OfflineOptions& o, const DecodedAudio& music, const FrameCapture& capture,
                   const FrameStepper& stepFrame) {
  TemporaryFiles temporaries;
  EncoderJob job;
  job.container = o.kind == OutputKind::mkv ? VideoContainer::mkv : VideoContainer::mp4;
  job.width = capture.width();
  job.height = capture.height();
  job.fps = o.fps;
  job.crf = o.crf;
  job.preset = o.preset;
  job.outputPath = temporaryPathFor(o.out);
  temporaries.add(job.outputPath);
  std::string error;
  if (o.sound) {
    job.soundPath = o.out + ".wav.part";
    temporaries.add(job.soundPath);
    const double soundFrom = videoFrameTime(o.from, o.fps, 0);
    const double soundTo = videoFrameTime(o.from, o.fps, videoFrameCount(o.from, o.to, o.fps));
    if (!writeWavSpan(music, soundFrom, soundTo, job.soundPath, error)) return fail(error);
  }
  // Frames before the span only advance what frames keep (fades, pulses, particles).
  const long simulated = frameAtOrAfter(o.from, o.fps);
  for (long j = 0; j < simulated; ++j) {
    if (stopRequested()) return stopped();
    stepFrame(static_cast<float>(j / o.fps), false);
  }
  EncoderProcess encoder;
  if (!encoder.start(encoderArguments(job), error)) return fail(error);
  const bool drawn = encodeSpan(o, capture, stepFrame, encoder);
  if (stopRequested()) {
    encoder.abort();
    return stopped();
  }
  // A refused frame means the encoder has ended; finish reports why.
  if (!encoder.finish(error)) return fail(error);
  if (!drawn) return fail("the encoder stopped taking frames");
  if (std::rename(job.outputPath.c_str(), o.out.c_str()) != 0) return fail("cannot rename the video to " + o.out);
  const long frames = videoFrameCount(o.from, o.to, o.fps);
  if (!o.quiet) std::fprintf(stderr, "%s\n", formatWrote(o.out, job.width, job.height, frames, frames / o.fps).c_str());
  return 0;
}

int runSoundExport(const OfflineOptions& o, const DecodedAudio& music) {
  // The decoding before and the writing here take about a second for the whole song, too
  // short for the watchdog: the stop is honoured on both sides of the write instead.
  if (stopRequested()) return stopped();
  TemporaryFiles temporaries;
  const std::string temporary = temporaryPathFor(o.out);
  temporaries.add(temporary);
  std::string error;
  if (!writeWavSpan(music, o.from, o.to, temporary, error)) return fail(error);
  if (stopRequested()) return stopped();
  if (std::rename(temporary.c_str(), o.out.c_str()) != 0) return fail("cannot rename the sound to " + o.out);
  if (!o.quiet) std::fprintf(stderr, "wrote %s (sound only, %.4g s)\n", o.out.c_str(), o.to - o.from);
  return 0;
}
