// Value noise, the procedural stand-in for a tiling noise texture: random values on the
// integer lattice, blended with smoothstep weights.
// Provides: valueNoise2, valueNoise3 (0..1), valueNoiseCorner, valueNoiseCorners and
// valueNoiseBlend (its halves, for callers that keep a cell's corners), fbmValue2, fbmValue3
// (octaves summed with halving amplitude and normalised back to 0..1).
// Expects: hash12 and hash13 (basic.glsl).

float valueNoise2(vec2 p)
{
    vec2 i = floor(p);
    vec2 f = fract(p);
    vec2 u = f * f * (3.0 - 2.0 * f);
    float a = hash12(i);
    float b = hash12(i + vec2(1.0, 0.0));
    float c = hash12(i + vec2(0.0, 1.0));
    float d = hash12(i + vec2(1.0, 1.0));
    return mix(mix(a, b, u.x), mix(c, d, u.x), u.y);
}

// The lattice value at corner k (0 to 7) of the cell whose lowest corner is the integer point
// i: bit 0 of k steps in x, bit 1 in y, bit 2 in z.
float valueNoiseCorner(vec3 i, int k)
{
    return hash13(i + vec3(float(k & 1), float((k >> 1) & 1), float(k >> 2)));
}

// The lattice values at the eight corners of the cell whose lowest corner is the integer point
// i: corners 0 to 3 (z = i.z) in `low`, 4 to 7 (z = i.z + 1) in `high`, each in the xy order
// (0, 0), (1, 0), (0, 1), (1, 1).
void valueNoiseCorners(vec3 i, out vec4 low, out vec4 high)
{
    low = vec4(valueNoiseCorner(i, 0), valueNoiseCorner(i, 1), valueNoiseCorner(i, 2), valueNoiseCorner(i, 3));
    high = vec4(valueNoiseCorner(i, 4), valueNoiseCorner(i, 5), valueNoiseCorner(i, 6), valueNoiseCorner(i, 7));
}

// The corner values of one cell blended at the fraction f within it.
float valueNoiseBlend(vec4 low, vec4 high, vec3 f)
{
    vec3 u = f * f * (3.0 - 2.0 * f);
    return mix(mix(mix(low.x, low.y, u.x), mix(low.z, low.w, u.x), u.y),
               mix(mix(high.x, high.y, u.x), mix(high.z, high.w, u.x), u.y), u.z);
}

float valueNoise3(vec3 p)
{
    vec4 low, high;
    valueNoiseCorners(floor(p), low, high);
    return valueNoiseBlend(low, high, fract(p));
}

float fbmValue2(vec2 p, int octaves)
{
    float sum = 0.0;
    float amplitude = 0.5;
    float total = 0.0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * valueNoise2(p);
        total += amplitude;
        p = p * 2.02 + vec2(3.1, 1.7);
        amplitude *= 0.5;
    }
    return total > 0.0 ? sum / total : 0.0;
}

float fbmValue3(vec3 p, int octaves)
{
    float sum = 0.0;
    float amplitude = 0.5;
    float total = 0.0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * valueNoise3(p);
        total += amplitude;
        p = p * 2.02 + vec3(3.1, 1.7, 5.9);
        amplitude *= 0.5;
    }
    return total > 0.0 ? sum / total : 0.0;
}
