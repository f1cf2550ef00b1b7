// The 1024-sample spectrum shared by the live stream and the offline renderer.
// Scaling: magnitudes are |X_k| * 2 / 1024 of a Hann-windowed, mono-mixed block, so a
// full-scale sine centred on a bin reads about 0.5 (the Hann window halves the peak).
#include <kiss_fftr.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "timeline/audio.h"
#include "timeline/audio_fft.h"

namespace {

constexpr int fftSize = 1024;

struct FftPlan {
  kiss_fftr_cfg config = kiss_fftr_alloc(fftSize, 0, nullptr, nullptr);
  float window[fftSize];
  FftPlan() {
    for (int i = 0; i < fftSize; ++i)
      window[i] = 0.5f - 0.5f * std::cos(2.0f * std::numbers::pi_v<float> * i / (fftSize - 1));
  }
};

// Built on first use, before any audio callback can need it; read-only afterwards.
const FftPlan& fftPlan() {
  static const FftPlan plan;
  return plan;
}

float monoSample(const float* interleaved, int channels, size_t frame) {
  float sum = 0.0f;
  for (int c = 0; c < channels; ++c) sum += interleaved[frame * channels + c];
  return sum / channels;
}

}  // namespace

void analyseSpectrum(const float* interleaved, size_t frames, int channels, size_t endFrame, float out[512]) {
  const FftPlan& plan = fftPlan();
  float block[fftSize];
  kiss_fft_cpx bins[fftSize / 2 + 1];
  // Frames before the start or past the end of the music count as silence.
  for (int i = 0; i < fftSize; ++i) {
    const long frame = static_cast<long>(endFrame) - fftSize + i;
    const bool inside = channels > 0 && frame >= 0 && static_cast<size_t>(frame) < frames;
    block[i] = inside ? monoSample(interleaved, channels, static_cast<size_t>(frame)) * plan.window[i] : 0.0f;
  }
  kiss_fftr(plan.config, block, bins);
  for (int k = 0; k < fftSize / 2; ++k) out[k] = std::hypot(bins[k].r, bins[k].i) * (2.0f / fftSize);
}

void spectrumAt(const DecodedAudio& audio, double seconds, float out[512]) {
  const size_t frames = audio.channels > 0 ? audio.samples.size() / audio.channels : 0;
  const double at = std::max(0.0, seconds) * audio.sampleRate;
  analyseSpectrum(audio.samples.data(), frames, audio.channels, static_cast<size_t>(std::llround(at)), out);
}
