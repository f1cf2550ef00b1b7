// The mixdown's effects and master stage: reverb and ping-pong delay over the sends, the
// closing fade, and a look-ahead limiter that leaves the peaks under the ceiling.
// Does NOT generate sound of its own.
#pragma once
#include "tools/make_music/dsp.h"

// Adds the send's reverberation to `out`, scaled by `wet`.
void addReverb(const StereoBuffer& send, StereoBuffer& out, float wet);
// Adds a ping-pong echo of the send to `out`: left repeats on the right and back.
void addPingPongDelay(const StereoBuffer& send, StereoBuffer& out, float delaySeconds, float feedback, float wet);
// Cosine fade from full level at `start` to silence at `end`, silent after it.
void applyFadeOut(StereoBuffer& buffer, double start, double end);
// Scales the mix by `drive`, limits it to 1 with a short look-ahead, then scales it so the
// highest peak sits at `ceiling`.
void limitAndNormalise(StereoBuffer& buffer, float drive, float ceiling);
float peakOf(const StereoBuffer& buffer);
