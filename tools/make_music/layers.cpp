// Pad, bass and lead: block-rate control (part, chord, levels) with per-sample oscillators.
#include "tools/make_music/layers.h"

#include <algorithm>

namespace {

constexpr size_t blockFrames = 32;

// Seconds since the latest kick at or before `seconds`, tracked forward through the list.
struct KickTracker {
  const std::vector<double>& kicks;
  size_t next = 0;
  double sinceLast(double seconds) {
    while (next < kicks.size() && kicks[next] <= seconds) ++next;
    return next == 0 ? 1e9 : seconds - kicks[next - 1];
  }
};

float duck(double sinceKick, float depth) {
  return 1.0f - depth * static_cast<float>(std::exp(-sinceKick / 0.14));
}

// The pad's cutoff opens over the intro's first 40 s, then sways slowly with the bars.
float padCutoff(const ScorePart& part, double seconds) {
  float cutoff = 1.6f * part.sound.padCutoff;
  if (part.start <= 0.0 && seconds < 40.0) cutoff = 140.0f * std::pow(cutoff / 140.0f, static_cast<float>(seconds / 40.0));
  return cutoff * (1.0f + 0.25f * static_cast<float>(std::sin(twoPi * seconds / (2.0 * barSeconds))));
}

// Two melody notes per bar, picked from the chord: one on the bar, one half a bar later.
constexpr int leadPattern[8] = {3, 2, 1, 2, 3, 0, 2, 1};

float leadNote(const Score& score, const ScorePart& part, double seconds) {
  const auto bar = std::upper_bound(score.bars.begin(), score.bars.end(), seconds);
  const long index = bar - score.bars.begin();
  const double barStart = index > 0 ? score.bars[index - 1] : 0.0;
  const bool secondHalf = seconds - barStart > 0.5 * barSeconds;
  return chordAt(score, part, seconds).notes[leadPattern[(2 * index + secondHalf) % 8]] + 12.0f;
}

struct PadVoice {
  SawOsc a, b;
  Smoother increment;
};

}  // namespace

float introSwell(double seconds, double rampSeconds) {
  const float x = static_cast<float>(std::clamp(seconds / rampSeconds, 0.0, 1.0));
  return x * x;
}

void renderPad(Mix& mix, const Score& score) {
  PadVoice voices[4];
  for (PadVoice& v : voices) v.increment.setTime(0.04f);
  SvFilter left, right;
  Smoother level;
  level.setTime(0.3f);
  KickTracker kicks{score.kicks};
  const size_t frames = mix.dry.left.size();
  for (size_t block = 0; block < frames; block += blockFrames) {
    const double t = static_cast<double>(block) / sampleRate;
    const ScorePart& part = partAt(score, t);
    const Chord& chord = chordAt(score, part, t);
    const float cutoff = padCutoff(part, t);
    left.set(cutoff, 0.3f);
    right.set(cutoff * 1.05f, 0.3f);
    const float target = part.sound.pad * 0.14f * introSwell(t, 12.0);
    const float ducking = duck(kicks.sinceLast(t), 0.35f);
    for (size_t i = block; i < std::min(frames, block + blockFrames); ++i) {
      float l = 0.0f, r = 0.0f;
      for (int n = 0; n < 4; ++n) {
        const float inc = voices[n].increment.next(midiToHz(chord.notes[n]) / sampleRate);
        const float sa = voices[n].a.next(inc * 1.0035f);
        const float sb = voices[n].b.next(inc * 0.9965f);
        l += sa + 0.6f * sb;
        r += sb + 0.6f * sa;
      }
      left.process(l);
      right.process(r);
      const float g = level.next(target) * ducking;
      mix.dry.left[i] += g * left.low;
      mix.dry.right[i] += g * right.low;
      mix.reverbSend.left[i] += 0.5f * g * left.low;
      mix.reverbSend.right[i] += 0.5f * g * right.low;
    }
  }
}

// The bass plucks on every kick and holds a quieter tone between them; before the kicks
// start it is a soft drone that swells in under the intro.
void renderBass(Mix& mix, const Score& score) {
  SawOsc saw;
  SvFilter filter;
  Smoother increment, level;
  increment.setTime(0.02f);
  level.setTime(0.25f);
  float phase = 0.0f;
  KickTracker kicks{score.kicks};
  const size_t frames = mix.dry.left.size();
  for (size_t block = 0; block < frames; block += blockFrames) {
    const double t0 = static_cast<double>(block) / sampleRate;
    const ScorePart& part = partAt(score, t0);
    const float hz = midiToHz(chordAt(score, part, t0).bass + 12.0f);
    const float target = part.sound.bass * 0.25f * introSwell(t0 - 14.0, 24.0);
    for (size_t i = block; i < std::min(frames, block + blockFrames); ++i) {
      const double since = kicks.sinceLast(static_cast<double>(i) / sampleRate);
      const float pluck =
          since < 2.0 ? static_cast<float>(0.3 + 0.7 * std::min(1.0, since / 0.004) * std::exp(-since / 0.2)) : 0.6f;
      const float inc = increment.next(hz / sampleRate);
      phase += inc;
      if (phase >= 1.0f) phase -= 1.0f;
      if (i % 16 == 0) filter.set(180.0f + 900.0f * pluck, 0.3f);
      filter.process(saw.next(inc));
      const float s = level.next(target) * pluck * std::tanh(1.6f * (std::sin(twoPi * phase) + 0.6f * filter.low));
      mix.dry.left[i] += s;
      mix.dry.right[i] += s;
    }
  }
}

// A detuned pulse pair gliding between notes, with a slow vibrato: it fills the mid range.
void renderLead(Mix& mix, const Score& score) {
  SawOsc a, b, octave;
  SvFilter filter;
  Smoother increment, level;
  increment.setTime(0.05f);
  level.setTime(0.4f);
  const size_t frames = mix.dry.left.size();
  for (size_t block = 0; block < frames; block += blockFrames) {
    const double t = static_cast<double>(block) / sampleRate;
    const ScorePart& part = partAt(score, t);
    const float vibrato = 1.0f + 0.004f * static_cast<float>(std::sin(twoPi * 5.2 * t));
    const float hz = midiToHz(leadNote(score, part, t)) * vibrato;
    const float target = part.sound.lead * 0.1f;
    filter.set(4500.0f, 0.3f);
    for (size_t i = block; i < std::min(frames, block + blockFrames); ++i) {
      const float inc = increment.next(hz / sampleRate);
      const float pulse = a.next(inc) - 0.8f * b.next(inc * 1.006f)  // a pulse whose width drifts
                          + 0.5f * octave.next(2.0f * inc);
      filter.process(pulse);
      const float s = level.next(target) * filter.low;
      mix.dry.left[i] += 0.8f * s;
      mix.dry.right[i] += s;
      mix.delaySend.left[i] += 0.4f * s;
      mix.delaySend.right[i] += 0.4f * s;
      mix.reverbSend.left[i] += 0.3f * s;
      mix.reverbSend.right[i] += 0.3f * s;
    }
  }
}
