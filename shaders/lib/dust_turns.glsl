// The dust layers' turns and scales of this frame, uploaded once on the CPU
// (scenes/dust_turns.h): layer j at index j as (cos a, sin a, 4 + sin j, 0). Included before
// mist.glsl, it makes dustLayers read them instead of working out three sines per layer at
// every pixel.
uniform vec4 dustTurns[15];
#define DUST_TURNS dustTurns
