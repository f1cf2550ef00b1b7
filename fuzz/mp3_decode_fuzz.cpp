// Fuzz target: MPEG audio bytes through libmpg123 and on to the output device's shape.
#include <cstddef>
#include <cstdint>

#include "timeline/audio_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DecodedAudio decoded;
  if (decodeMp3Bytes(data, size, decoded)) toStereoAtRate(decoded, 44100);
  return 0;
}
