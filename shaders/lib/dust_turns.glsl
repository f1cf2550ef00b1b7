// The dust layers' turns of this frame, uploaded once on the CPU (scenes/dust_turns.h): layer j
// at index j. Included before mist.glsl, it makes dustLayers read them instead of working out
// a sine and its turn per layer at every pixel.
uniform mat2 dustTurns[15];
#define DUST_TURNS dustTurns
