// Small signal-processing building blocks of the music generator: the stereo buffer, a
// seeded noise source, band-limited oscillators and filters.
// Does NOT know about the score or the demo's timing: voices and layers use these.
#pragma once
#include <cmath>
#include <cstdint>
#include <vector>

constexpr int sampleRate = 44100;
constexpr float twoPi = 6.28318530718f;

struct StereoBuffer {
  std::vector<float> left;
  std::vector<float> right;
};

StereoBuffer makeStereoBuffer(size_t frames);
inline size_t frameAt(double seconds) { return seconds <= 0.0 ? 0 : static_cast<size_t>(seconds * sampleRate + 0.5); }

// xorshift32: every run draws the same numbers, so every run writes the same file.
struct Rng {
  uint32_t state;
  float next() {  // -1..1
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<float>(static_cast<int32_t>(state)) * (1.0f / 2147483648.0f);
  }
};

inline float midiToHz(float note) { return 440.0f * std::exp2((note - 69.0f) / 12.0f); }

// A saw with polyBLEP edges, so that high notes do not alias into the low bins.
struct SawOsc {
  float phase = 0.0f;
  float next(float increment) {
    phase += increment;
    if (phase >= 1.0f) phase -= 1.0f;
    float value = 2.0f * phase - 1.0f;
    if (phase < increment) {
      const float x = phase / increment;
      value -= x + x - x * x - 1.0f;
    } else if (phase > 1.0f - increment) {
      const float x = (phase - 1.0f) / increment;
      value -= x * x + x + x + 1.0f;
    }
    return value;
  }
};

// Trapezoidal state-variable filter: stays stable with the cutoff swept every block.
struct SvFilter {
  float ic1 = 0.0f, ic2 = 0.0f;
  float g = 0.0f, k = 1.0f, a1 = 0.0f, a2 = 0.0f, a3 = 0.0f;
  float low = 0.0f, band = 0.0f, high = 0.0f;
  void set(float cutoffHz, float resonance) {  // resonance 0..~0.95
    const float limited = std::fmin(cutoffHz, 0.45f * sampleRate);
    g = std::tan(3.14159265f * limited / sampleRate);
    k = 2.0f - 2.0f * resonance;
    a1 = 1.0f / (1.0f + g * (g + k));
    a2 = g * a1;
    a3 = g * a2;
  }
  void process(float x) {
    const float v3 = x - ic2;
    const float v1 = a1 * ic1 + a2 * v3;
    const float v2 = ic2 + a2 * ic1 + a3 * v3;
    ic1 = 2.0f * v1 - ic1;
    ic2 = 2.0f * v2 - ic2;
    low = v2;
    band = v1;
    high = x - k * v1 - v2;
  }
};

// Value that follows its target with a time constant, for click-free level changes.
struct Smoother {
  float value = 0.0f;
  float coefficient = 0.0f;
  void setTime(float seconds) { coefficient = 1.0f - std::exp(-1.0f / (seconds * sampleRate)); }
  float next(float target) {
    value += (target - value) * coefficient;
    return value;
  }
};
