// Value noise, the procedural stand-in for a tiling noise texture: random values on the
// integer lattice, blended with smoothstep weights.
// Provides: valueNoise2, valueNoise3 (0..1), fbmValue2, fbmValue3 (octaves summed with
// halving amplitude and normalised back to 0..1).
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

float valueNoise3(vec3 p)
{
    vec3 i = floor(p);
    vec3 f = fract(p);
    vec3 u = f * f * (3.0 - 2.0 * f);
    float n000 = hash13(i);
    float n100 = hash13(i + vec3(1.0, 0.0, 0.0));
    float n010 = hash13(i + vec3(0.0, 1.0, 0.0));
    float n110 = hash13(i + vec3(1.0, 1.0, 0.0));
    float n001 = hash13(i + vec3(0.0, 0.0, 1.0));
    float n101 = hash13(i + vec3(1.0, 0.0, 1.0));
    float n011 = hash13(i + vec3(0.0, 1.0, 1.0));
    float n111 = hash13(i + vec3(1.0, 1.0, 1.0));
    return mix(mix(mix(n000, n100, u.x), mix(n010, n110, u.x), u.y),
               mix(mix(n001, n101, u.x), mix(n011, n111, u.x), u.y), u.z);
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
