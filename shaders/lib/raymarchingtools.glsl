// Building blocks of signed distance fields and of the camera ray, used by every ray-marched
// scene's `map` and `main`.
// Provides: rot2, pR (the plane rotation (u, v) -> (u cos a + v sin a, -u sin a + v cos a)),
// sdSphere, sdBox (exact), boxMaxNorm (largest component of |p| - b, a Chebyshev box),
// sdChebyshevBox, sdRoundBox, sdVerticalCylinder, opUnion (distance-and-id pairs),
// opDifference (b with a removed), sminP (soft minimum), pMod1, pModInterval1 (hg_sdf style
// interval repeat), pModCentred, lookAtRay, orbitCamera.
// Expects: PI and TAU (basic.glsl), `resolution` (basic.glsl) for orbitCamera.

// Turns the pair (u, v) by a: (u cos a + v sin a, -u sin a + v cos a).
vec2 rot2(vec2 q, float a)
{
    float c = cos(a);
    float s = sin(a);
    return vec2(q.x * c + q.y * s, -q.x * s + q.y * c);
}

void pR(inout vec2 q, float a)
{
    q = rot2(q, a);
}

float sdSphere(vec3 p, float radius)
{
    return length(p) - radius;
}

// Exact distance to a box of half size b centred at the origin.
float sdBox(vec3 p, vec3 b)
{
    vec3 d = abs(p) - b;
    return length(max(d, vec3(0.0))) + min(max(d.x, max(d.y, d.z)), 0.0);
}

// The largest component of |p| - b: a cheap box bound that is exact only inside and along axes.
float boxMaxNorm(vec3 p, vec3 b)
{
    vec3 d = abs(p) - b;
    return max(d.x, max(d.y, d.z));
}

// Chebyshev box of half sizes r centred at c.
float sdChebyshevBox(vec3 p, vec3 c, vec3 r)
{
    return boxMaxNorm(p - c, r);
}

// A box of half size b with its surface pushed out by `radius`: rounded edges.
float sdRoundBox(vec3 p, vec3 b, float radius)
{
    return sdBox(p, b) - radius;
}

// Infinite vertical cylinder around (centre.x, *, centre.y).
float sdVerticalCylinder(vec3 p, vec2 centre, float radius)
{
    return length(p.xz - centre) - radius;
}

// Union of (distance, id) pairs: the nearer one, with its id.
vec2 opUnion(vec2 a, vec2 b)
{
    return a.x < b.x ? a : b;
}

// b with a removed: max(-a, b).
float opDifference(float a, float b)
{
    return max(-a, b);
}

// Soft minimum: blends a and b over a band of about half a unit.
float sminP(float a, float b)
{
    float h = clamp(2.0 * (b - a) + 0.5, 0.0, 1.0);
    return (b - 0.25 * h) * (1.0 - h) + a * h;
}

// Repeats p every `size`, centred on the cell; returns the cell index.
float pMod1(inout float p, float size)
{
    float halfSize = size * 0.5;
    float c = floor((p + halfSize) / size);
    p = mod(p + halfSize, size) - halfSize;
    return c;
}

// Repeats p every `size` only for the cells start..stop; outside them the end cells extend.
// Returns the cell index, clamped to the interval.
float pModInterval1(inout float p, float size, float start, float stop)
{
    float halfSize = size * 0.5;
    float c = floor((p + halfSize) / size);
    p = mod(p + halfSize, size) - halfSize;
    if (c > stop) {
        p += size * (c - stop);
        c = stop;
    }
    if (c < start) {
        p += size * (c - start);
        c = start;
    }
    return c;
}

// mod(p, period) - period / 2 on every axis: the point relative to its cell's centre.
vec3 pModCentred(vec3 p, vec3 period)
{
    return mod(p, period) - 0.5 * period;
}

// Ray from `position` looking at `target` through screen point uv, with a level horizon:
// right = normalize(f.z, 0, -f.x), up = normalize(cross(f, right)), spread by fieldFactor.
vec3 lookAtRay(vec3 position, vec3 target, vec2 uv, float fieldFactor)
{
    vec3 f = normalize(target - position);
    vec3 right = normalize(vec3(f.z, 0.0, -f.x));
    vec3 up = normalize(cross(f, right));
    return normalize(f + fieldFactor * uv.x * right + fieldFactor * uv.y * up);
}

// Camera on a sphere of `radius` around `target`; orbit is a pixel-like pair (x, y):
// a = x / resolution.x x 2 pi, b = ((y + 1) / resolution.y - 0.5) x pi.
vec3 orbitCamera(vec3 target, float radius, vec2 orbit)
{
    float a = orbit.x / resolution.x * TAU;
    float b = ((orbit.y + 1.0) / resolution.y - 0.5) * PI;
    return target + radius * vec3(cos(b) * cos(a), sin(b), cos(b) * sin(a));
}
