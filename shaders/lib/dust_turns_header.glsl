// Header of the dust's per-frame values, for every scene with mist.glsl's dust, worked out once
// on the CPU (scenes/dust_turns.h) in place of a dozen sines at every pixel: the layers' turns
// and scales, layer j as (cos a, sin a, 4 + sin j, 0), and the dust camera. Included before
// mist.glsl.
uniform vec4 dustTurns[15];
uniform vec3 dustEye;          // the dust camera, down its winding tunnel
uniform vec3 dustStraightEye;  // where it would be without the tunnel's winding
uniform mat3 dustAxes;         // its right, up and forward axes, as columns
