// RGB split offsets driven by the light pulse.
#include "scenes/rgb_split_offsets.h"

#include "render/post_chain.h"
#include "timeline/fades.h"

RgbSplitOffsets rgbSplitOffsets(float lightPulse) {
  return {0.01f * 0.258f * lightPulse, 0.01f * -0.34f * lightPulse, 0.01f * 0.01f};
}

void setRgbSplitOffsets(uint32_t programId) {
  const RgbSplitOffsets offsets = rgbSplitOffsets(fades.lightPulse.value);
  setUniformFloat(programId, "roffset", offsets.red);
  setUniformFloat(programId, "goffset", offsets.green);
  setUniformFloat(programId, "boffset", offsets.blue);
}
