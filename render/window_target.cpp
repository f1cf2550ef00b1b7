// The composite target, framebuffer 0 unless the offline renderer redirects it.
#include "render/window_target.h"

uint32_t windowFramebuffer = 0;
