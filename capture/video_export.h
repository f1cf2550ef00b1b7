// Exports a span of the demo as one video file with its sound: every frame before the span is
// simulated, the span's frames are drawn, read back through pixel buffers and piped raw to
// ffmpeg, and the sound of the same span goes beside them as a temporary WAV.
// The file appears under its name only when complete: it is written to NAME.part in the same
// folder and renamed at the end; a stop request, a failed encoder or a full disk remove it.
// Does NOT parse options or set up GL: the offline renderer does both first.
#pragma once
#include <functional>
#include <string>

#include "capture/offline_options.h"
#include "timeline/audio.h"

class FrameCapture;

// A video from `from` to `to` holds the frames of the frame grid (frame j at j / fps) from the
// first at or after `from` up to the last before `to`; its frame k is grid frame j0 + k at
// (j0 + k) / fps, and its sound starts at j0 / fps. So a start off the grid gives the frames of
// every other run, and segments rendered apart join into the frames of one run. Its frame
// count is videoFrameCount (capture/offline_options.h).
double videoFrameTime(double from, double fps, long k);

// The name written until the file is complete.
std::string temporaryPathFor(const std::string& out);

// Refuses, before any work, what would fail later: no ffmpeg on PATH. Empty when all is well.
std::string videoToolsError();

// Runs one simulated (draw false) or drawn frame at song time t.
using FrameStepper = std::function<void(float t, bool draw)>;

// Writes the video; returns the exit status after at most one line on stderr.
int runVideoExport(const OfflineOptions& o, const DecodedAudio& music, const FrameCapture& capture,
                   const FrameStepper& stepFrame);

// Writes the sound of the span alone as a WAV (for muxing over joined segments).
int runSoundExport(const OfflineOptions& o, const DecodedAudio& music);
