// The sizes of the textures the engine made, because WebGL2 cannot ask a texture for its size
// (the desktop's glGetTexLevelParameteriv is missing there).
// Owns: the size record (writers: resources/pack_loader and render/render_targets, each time
// they upload a texture's level 0).
#pragma once
#include <cstdint>

#include "render/display_settings.h"

void rememberTextureSize(uint32_t texture, int width, int height);
// The recorded size of level 0; {0, 0} when the texture was never recorded (or holds nothing).
SizeWH rememberedTextureSize(uint32_t texture);
