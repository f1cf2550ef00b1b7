// The sizes of the still textures the pack loader made, because WebGL2 cannot ask a texture
// for its size (the desktop's glGetTexLevelParameteriv is missing there).
// Owns: the size record (writer: resources/pack_loader, once per texture it uploads).
// Does NOT know render targets: their size is the render size.
#pragma once
#include <cstdint>

#include "render/display_settings.h"

void rememberTextureSize(uint32_t texture, int width, int height);
// The recorded size of level 0; {0, 0} when the texture was never recorded (or holds nothing).
SizeWH rememberedTextureSize(uint32_t texture);
