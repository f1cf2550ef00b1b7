// Where a scene's final composite draws: the window (framebuffer 0) in the live demo, a
// window-size offscreen target in the offline renderer.
// Owns: windowFramebuffer (writer: the offline renderer, once at its start-up).
#pragma once
#include <cstdint>

extern uint32_t windowFramebuffer;
