// Arranges the score into the mix: hits at their sync times, layers under them, then effects.
#include "tools/make_music/track.h"

#include "tools/make_music/effects.h"
#include "tools/make_music/layers.h"
#include "tools/make_music/voices.h"

namespace {

constexpr int arpPattern[] = {0, 2, 1, 3, 2, 0, 3, 1};

void placeDrums(Mix& mix, const Score& score, Rng& rng) {
  for (double t : score.kicks) addKick(mix, t, 0.7f);
  for (size_t i = 0; i < score.hats.size(); ++i) {
    const double t = score.hats[i];
    const float accent = i % 2 ? 1.0f : 0.6f;
    addHat(mix, t, 0.16f * accent * partAt(score, t).sound.hats * introSwell(t - 4.0, 16.0), 0.035f, rng);
  }
  for (double t : score.offbeatHats) addHat(mix, t, 0.16f * partAt(score, t).sound.offbeats, 0.09f, rng);
  for (double t : score.snares) addSnare(mix, t, 0.5f, rng);
}

void placeAccents(Mix& mix, const Score& score, Rng& rng) {
  for (double t : score.crashes) addCrash(mix, t, 0.35f, rng);
  double previous = -10.0;
  for (double t : score.sweepTargets) {
    addSweep(mix, std::max(previous, t - 3.0), t, 0.5f, rng);
    previous = t;
  }
  for (double t : score.booms) addBoom(mix, t, 0.3f, rng);
}

void placeMelodic(Mix& mix, const Score& score) {
  for (double t : score.bars) {
    const ScorePart& part = partAt(score, t);
    const Chord& chord = chordAt(score, part, t);
    const float gain = 0.14f * part.sound.bells * introSwell(t, 10.0);
    addBell(mix, t, chord.notes[3] + 12.0f, gain, 2.0f, 1.6f);
    addBell(mix, t, chord.notes[1] + 12.0f, 0.6f * gain, 2.0f, 1.2f);
  }
  for (double t : score.chimes) {
    const Chord& chord = chordAt(score, partAt(score, t), t);
    addBell(mix, t, chord.notes[2] + 24.0f, 0.06f, 3.5f, 1.0f);
  }
  for (size_t i = 0; i < score.arpSteps.size(); ++i) {
    const double t = score.arpSteps[i];
    const ScorePart& part = partAt(score, t);
    const float note = chordAt(score, part, t).notes[arpPattern[i % 8]] + 12.0f;
    addPluck(mix, t, note, 0.16f * part.sound.arp, i % 2 ? 0.4f : -0.4f);
  }
}

}  // namespace

StereoBuffer renderTrack(const Score& score) {
  Mix mix = makeMix(frameAt(score.length));
  Rng rng{0x7a5b1c3du};
  renderPad(mix, score);
  renderBass(mix, score);
  renderLead(mix, score);
  placeDrums(mix, score, rng);
  placeAccents(mix, score, rng);
  placeMelodic(mix, score);
  addReverb(mix.reverbSend, mix.dry, 1.0f);
  addPingPongDelay(mix.delaySend, mix.dry, 0.75 * kickSeconds, 0.4f, 0.5f);
  applyFadeOut(mix.dry, fadeOutStart, fadeOutEnd);
  limitAndNormalise(mix.dry, 1.8f, trackCeiling);
  return std::move(mix.dry);
}
