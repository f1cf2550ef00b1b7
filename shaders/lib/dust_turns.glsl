// The dust layers' turns and scales of this frame, worked out once on the CPU
// (scenes/dust_turns.h): layer j as (cos a, sin a, 4 + sin j, 0). Added before mist.glsl, the
// name DUST_TURNS makes its dust take them instead of three sines per layer at every pixel.
// Provides: the uniform dustTurns, named DUST_TURNS. Expects: nothing.

uniform vec4 dustTurns[15];
#define DUST_TURNS dustTurns
