#version 330 core
// The spiral depth of field with its taps written out, for a picture where every pixel blurs
// (the intro's focus is never exactly sharp): no loop to keep, and no way out of it needed.
#define QDOF_TAPS_WRITTEN_OUT
#include "./shaders/postprocessors/qdof.glsl"
