// Header of the dust's per-frame turns, for a scene whose dust takes them: the layers' turns
// and scales of this frame, worked out once on the CPU (scenes/dust_turns.h), layer j as
// (cos a, sin a, 4 + sin j, 0). Included before mist.glsl, the name DUST_TURNS makes its dust
// take them instead of three sines per layer at every pixel.
uniform vec4 dustTurns[15];
#define DUST_TURNS dustTurns
