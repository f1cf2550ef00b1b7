// Peak hold and the weighted `fft` array.
#include "timeline/sound_bins.h"

#include <cmath>

SpectrumState spectrum;

void applyPeakHold(const SpectrumBins& raw, SpectrumBins& held) {
  for (int i = 0; i < spectrumBins; ++i) {
    if (raw[i] > held[i] + 0.015625f)
      held[i] = raw[i];
    else if (held[i] > 0.0f)
      held[i] -= 0.03125f;
  }
}

void computeFftArray(const SpectrumBins& snapshot, std::array<float, 512>& fft) {
  for (int i = 0; i < spectrumBins; ++i) {
    const float weight = static_cast<float>(1.0 + 0.0025 * i);
    // A held bin that decayed below zero has no square root; fmax keeps the floor for it
    // (std::max would hand the NaN on to the shaders).
    fft[i] = std::fmax(std::sqrt(snapshot[i] * weight) * 0.5f, 0.01f);
  }
}
