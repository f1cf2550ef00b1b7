// Pack slot lookup shared by the scenes.
#include "scenes/pass_programs.h"

uint32_t packSlot(const GLNameList& packTextures, size_t slot) {
  return slot < packTextures.size() ? packTextures[slot] : 0;
}
