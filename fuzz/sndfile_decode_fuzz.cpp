// Fuzz target: a music file's bytes through the decoder choice (libsndfile first), the checks
// on what it gives, the conversion to the output device's shape and the spectrum.
#include <cstddef>
#include <cstdint>

#include "timeline/audio_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DecodedAudio decoded;
  if (decodeAudioBytes(data, size, decoded) != AudioDecodeResult::ok) return 0;
  toStereoAtRate(decoded, 44100);
  float bins[512];
  spectrumAt(decoded, 0.01, bins);
  return 0;
}
