// RGB split offsets driven by the light pulse.
#include "scenes/rgb_split_offsets.h"

#include "render/post_chain.h"
#include "timeline/fades.h"

void setRgbSplitOffsets(uint32_t programId) {
  const float pulse = fades.lightPulse.value;
  setUniformFloat(programId, "roffset", 0.01f * 0.258f * pulse);
  setUniformFloat(programId, "goffset", 0.01f * -0.34f * pulse);
  setUniformFloat(programId, "boffset", 0.01f * 0.01f);
}
