// Dust specks seen from a camera drifting down a gently winding tunnel: the camera itself and
// one layer of soft dots. Each scene stacks its own layers along the camera ray (how many,
// how far, how each layer turns) and tints them.
// Provides: dustTunnelOffset, dustCamera, dustDots.
// Expects: nothing.

// How far the tunnel winds away from the z axis at depth z.
vec3 dustTunnelOffset(float z)
{
    return vec3(1.5 * sin(0.2 * z), 1.3 * sin(0.3 * z), 0.0);
}

// The camera at `partTime`, half a unit of depth per second: `eye` and `ray` (through the
// scene's screen coordinate `uv`) follow the tunnel; `straightEye` is the eye before the
// tunnel moved it.
void dustCamera(float partTime, vec2 uv, out vec3 eye, out vec3 ray, out vec3 straightEye)
{
    float u = 0.5 * partTime;
    eye = vec3(0.5 * sin(0.7 * u), 0.5 * sin(0.9 * u), -3.0 + u);
    vec3 target = vec3(0.0, 0.0, u);
    straightEye = eye;
    eye -= dustTunnelOffset(eye.z);
    target -= dustTunnelOffset(target.z);
    vec3 cz = normalize(target - eye);
    vec3 cx = normalize(cross(cz, vec3(0.0, 1.0, 0.0)));
    vec3 cy = normalize(cross(cz, cx));
    ray = normalize(cx * uv.x + cy * uv.y + 0.7 * cz);
}

// One layer of specks: a grid of soft dots whose rows are shifted by a per-row hash; the layer
// index j changes the grid's scale. Up to about 1 at a dot's centre, 0 between dots.
float dustDots(vec3 v, float j)
{
    const float dustPi = 3.1415692;
    v *= 4.0 + sin(j);
    v.x += fract(sin(floor(v.y)) * 1000.0);
    v *= dustPi;
    return clamp(0.1 - length(vec2(sin(v.x), cos(v.y))), 0.0, 1.0) * 10.3;
}
