// The struck sounds of the track, each rendered once into the mix at its own time: kick,
// hats, snare, crash, riser sweep, bells, low boom and the arpeggio pluck.
// Does NOT decide when they play (score.h) nor add effects (effects.h): the sends are filled here
// and processed later.
#pragma once
#include "tools/make_music/dsp.h"

// The dry mix plus the two effect sends that the mixdown runs through reverb and delay.
struct Mix {
  StereoBuffer dry;
  StereoBuffer reverbSend;
  StereoBuffer delaySend;
};

Mix makeMix(size_t frames);

void addKick(Mix& mix, double t, float gain);
void addHat(Mix& mix, double t, float gain, float decaySeconds, Rng& rng);
void addSnare(Mix& mix, double t, float gain, Rng& rng);
void addCrash(Mix& mix, double t, float gain, Rng& rng);
// Noise and a saw that rise together from `start` and stop dead at `end`.
void addSweep(Mix& mix, double start, double end, float gain, Rng& rng);
// An FM bell; `ratio` sets the modulator against the carrier (2 soft, 3.5 glassy).
void addBell(Mix& mix, double t, float note, float gain, float ratio, float decaySeconds);
void addBoom(Mix& mix, double t, float gain, Rng& rng);
void addPluck(Mix& mix, double t, float note, float gain, float pan);
