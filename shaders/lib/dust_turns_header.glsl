// Header of the dust's per-frame turns, for every scene with mist.glsl's dust: the layers'
// turns and scales of this frame, worked out once on the CPU (scenes/dust_turns.h), layer j as
// (cos a, sin a, 4 + sin j, 0). Included before mist.glsl, in place of three sines per layer at
// every pixel.
uniform vec4 dustTurns[15];
