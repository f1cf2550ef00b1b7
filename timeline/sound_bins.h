// The music spectrum of the current frame: raw FFT, peak hold and the shaders' `fft` array.
// Owns: spectrum (writer: the frame step; the raw buffer is also the SoundTexture's pixels).
// Does NOT fetch the FFT itself: the caller fills `raw` from the audio layer or the decoded file.
#pragma once
#include <array>

constexpr int spectrumBins = 512;
using SpectrumBins = std::array<float, spectrumBins>;

struct SpectrumState {
  SpectrumBins raw{};
  SpectrumBins held{};      // peak hold with linear fall-off
  SpectrumBins snapshot{};  // copy of held, the input of the fft array
};

extern SpectrumState spectrum;

// A bin rises to a raw value more than 1/64 above it, else falls by 1/32 while positive.
void applyPeakHold(const SpectrumBins& raw, SpectrumBins& held);
// fft[i] = max(sqrt(snapshot[i] * (1 + 0.0025 i)) * 0.5, 0.01); a negative bin gives 0.01.
void computeFftArray(const SpectrumBins& snapshot, std::array<float, 512>& fft);
