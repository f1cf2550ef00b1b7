// Fuzz target: one pack entry's bytes through the header checks and the image decode, exactly
// as the pack loader hands them over (flipped or not, by the input's length).
#include <cstddef>
#include <cstdint>

#include "resources/pack_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const PackImage image = decodePackImage(data, size, size % 2 == 1);
  if (image.pixels) {
    // Every decoded byte must be there: touch the last one of the buffer the size promises.
    const size_t bytes = static_cast<size_t>(image.width) * image.height * image.channels;
    volatile unsigned char last = image.pixels.get()[bytes - 1];
    (void)last;
  }
  return 0;
}
