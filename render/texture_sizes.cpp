// The record of still texture sizes.
#include "render/texture_sizes.h"

#include <unordered_map>

namespace {
std::unordered_map<uint32_t, SizeWH>& sizes() {
  static std::unordered_map<uint32_t, SizeWH> record;
  return record;
}
}  // namespace

void rememberTextureSize(uint32_t texture, int width, int height) { sizes()[texture] = {width, height}; }

SizeWH rememberedTextureSize(uint32_t texture) {
  const auto found = sizes().find(texture);
  return found == sizes().end() ? SizeWH{0, 0} : found->second;
}
