// The process-wide lists of GL names handed to every scene's render.
// Writer: start-up (app), once, before the first frame; nothing changes them afterwards.
#pragma once
#include <cstdint>
#include <vector>

using GLNameList = std::vector<uint32_t>;

extern GLNameList packTextures;    // the 29 pack images in slot order (0 for a missing image)
extern GLNameList renderTextures;  // three render targets, then the SoundTexture at index 3
extern GLNameList frameBuffers;    // framebuffer i draws into renderTextures[i]
