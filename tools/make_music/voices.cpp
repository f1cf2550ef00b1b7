// Renders each struck sound: short loops over the samples the sound lasts, nothing more.
#include "tools/make_music/voices.h"

#include <algorithm>

namespace {

// Runs `body(x, i)` over `seconds` of samples from `t`, x being seconds since t, i the frame.
template <class Body>
void forSpan(const Mix& mix, double t, double seconds, Body body) {
  const size_t first = frameAt(t);
  const size_t last = std::min(mix.dry.left.size(), frameAt(t + seconds));
  for (size_t i = first; i < last; ++i) body(static_cast<float>(i - first) / sampleRate, i);
}

void addTo(StereoBuffer& bus, size_t i, float left, float right) {
  bus.left[i] += left;
  bus.right[i] += right;
}

float attack(float x, float seconds) { return x < seconds ? x / seconds : 1.0f; }

}  // namespace

Mix makeMix(size_t frames) { return {makeStereoBuffer(frames), makeStereoBuffer(frames), makeStereoBuffer(frames)}; }

void addKick(Mix& mix, double t, float gain) {
  float phase = 0.0f;
  forSpan(mix, t, 0.5, [&](float x, size_t i) {
    const float hz = 46.0f + 120.0f * std::exp(-x / 0.028f);
    phase += hz / sampleRate;
    const float body = std::sin(twoPi * phase) * std::exp(-x / 0.2f) * attack(x, 0.0015f);
    const float click = std::sin(twoPi * 1800.0f * x) * std::exp(-x / 0.004f) * 0.25f;
    const float s = gain * (body + click);
    addTo(mix.dry, i, s, s);
  });
}

void addHat(Mix& mix, double t, float gain, float decaySeconds, Rng& rng) {
  SvFilter filter;
  filter.set(7500.0f, 0.3f);
  forSpan(mix, t, decaySeconds * 6.0, [&](float x, size_t i) {
    filter.process(rng.next());
    const float s = gain * filter.high * std::exp(-x / decaySeconds) * attack(x, 0.0008f);
    addTo(mix.dry, i, s * 0.8f, s);
  });
}

void addSnare(Mix& mix, double t, float gain, Rng& rng) {
  SvFilter filter;
  filter.set(2200.0f, 0.35f);
  float phase = 0.0f;
  forSpan(mix, t, 0.6, [&](float x, size_t i) {
    phase += (165.0f + 45.0f * std::exp(-x / 0.02f)) / sampleRate;
    filter.process(rng.next());
    const float tone = std::sin(twoPi * phase) * std::exp(-x / 0.06f);
    const float noise = (filter.band + 0.4f * filter.high) * std::exp(-x / 0.13f);
    const float s = gain * (0.8f * tone + 0.9f * noise) * attack(x, 0.001f);
    addTo(mix.dry, i, s, s);
    addTo(mix.reverbSend, i, 0.35f * s, 0.35f * s);
  });
}

void addCrash(Mix& mix, double t, float gain, Rng& rng) {
  SvFilter left, right;
  left.set(3800.0f, 0.2f);
  right.set(4100.0f, 0.2f);
  float phase = 0.0f;
  forSpan(mix, t, 4.0, [&](float x, size_t i) {
    left.process(rng.next());
    right.process(rng.next());
    const float decay = std::exp(-x / 1.1f) * attack(x, 0.002f);
    phase += (42.0f + 30.0f * std::exp(-x / 0.08f)) / sampleRate;
    const float impact = std::sin(twoPi * phase) * std::exp(-x / 0.45f) * 0.9f;
    const float l = gain * (left.high * decay + impact);
    const float r = gain * (right.high * decay + impact);
    addTo(mix.dry, i, l, r);
    addTo(mix.reverbSend, i, 0.3f * l, 0.3f * r);
  });
}

void addSweep(Mix& mix, double start, double end, float gain, Rng& rng) {
  SvFilter left, right;
  SawOsc saw;
  const float length = static_cast<float>(end - start);
  size_t block = 0;
  forSpan(mix, start, end - start, [&](float x, size_t i) {
    const float p = x / length;
    if (block++ % 32 == 0) {
      const float cutoff = 250.0f * std::pow(30.0f, p);
      left.set(cutoff, 0.75f);
      right.set(cutoff * 1.07f, 0.75f);
    }
    left.process(rng.next());
    right.process(rng.next());
    const float riser = saw.next(midiToHz(48.0f + 24.0f * p) / sampleRate) * 0.12f;
    const float level = gain * p * p * std::min(1.0f, (length - x) / 0.004f);
    addTo(mix.dry, i, level * (left.band + riser), level * (right.band + riser));
    addTo(mix.reverbSend, i, 0.3f * level * left.band, 0.3f * level * right.band);
  });
}

void addBell(Mix& mix, double t, float note, float gain, float ratio, float decaySeconds) {
  const float hz = midiToHz(note);
  forSpan(mix, t, decaySeconds * 4.0, [&](float x, size_t i) {
    const float index = 2.2f * std::exp(-x / (0.3f * decaySeconds));
    const float modulator = std::sin(twoPi * hz * ratio * x) * index;
    const float s = gain * std::sin(twoPi * hz * x + modulator) * std::exp(-x / decaySeconds) * attack(x, 0.012f);
    addTo(mix.dry, i, s * 0.9f, s);
    addTo(mix.reverbSend, i, 0.5f * s, 0.5f * s);
    addTo(mix.delaySend, i, 0.3f * s, 0.3f * s);
  });
}

void addBoom(Mix& mix, double t, float gain, Rng& rng) {
  SvFilter air;
  air.set(900.0f, 0.5f);
  forSpan(mix, t, 3.0, [&](float x, size_t i) {
    air.process(rng.next());
    const float envelope = std::exp(-x / 0.9f) * attack(x, 0.05f);
    const float s = gain * envelope * (std::sin(twoPi * 55.0f * x) + 0.25f * air.band);
    addTo(mix.dry, i, s, s);
    addTo(mix.reverbSend, i, 0.4f * s, 0.4f * s);
  });
}

void addPluck(Mix& mix, double t, float note, float gain, float pan) {
  SvFilter filter;
  SawOsc a, b;
  const float increment = midiToHz(note) / sampleRate;
  size_t block = 0;
  forSpan(mix, t, 0.6, [&](float x, size_t i) {
    if (block++ % 16 == 0) filter.set(400.0f + 5000.0f * std::exp(-x / 0.08f), 0.4f);
    filter.process(a.next(increment) + 0.5f * b.next(increment * 2.003f));
    const float s = gain * filter.low * std::exp(-x / 0.16f) * attack(x, 0.003f);
    const float l = s * (1.0f - pan);
    const float r = s * (1.0f + pan);
    addTo(mix.dry, i, l, r);
    addTo(mix.delaySend, i, 0.45f * l, 0.45f * r);
    addTo(mix.reverbSend, i, 0.2f * l, 0.2f * r);
  });
}
