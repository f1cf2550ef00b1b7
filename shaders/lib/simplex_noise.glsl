// Simplex gradient noise in two and three dimensions, and a fractal sum of it.
// Provides: simplexNoise2, simplexNoise3 (both about -1..1, smooth, no grid artefacts),
// fbmSimplex3 (octaves summed with halving amplitude, about -1..1).
// Expects: hash22 and hash33 (basic.glsl), which give the lattice gradients.

float simplexNoise2(vec2 p)
{
    const float K1 = 0.366025404;  // (sqrt(3) - 1) / 2: skew to the square grid
    const float K2 = 0.211324865;  // (3 - sqrt(3)) / 6: unskew back
    vec2 i = floor(p + (p.x + p.y) * K1);
    vec2 a = p - i + (i.x + i.y) * K2;
    vec2 o = a.x > a.y ? vec2(1.0, 0.0) : vec2(0.0, 1.0);
    vec2 b = a - o + K2;
    vec2 c = a - 1.0 + 2.0 * K2;
    vec3 h = max(0.5 - vec3(dot(a, a), dot(b, b), dot(c, c)), 0.0);
    vec3 n = h * h * h * h * vec3(dot(a, hash22(i) * 2.0 - 1.0), dot(b, hash22(i + o) * 2.0 - 1.0),
                                  dot(c, hash22(i + 1.0) * 2.0 - 1.0));
    return dot(n, vec3(70.0));
}

float simplexNoise3(vec3 p)
{
    const float F3 = 1.0 / 3.0;
    const float G3 = 1.0 / 6.0;
    vec3 s = floor(p + dot(p, vec3(F3)));
    vec3 x0 = p - s + dot(s, vec3(G3));
    vec3 e = step(vec3(0.0), x0 - x0.yzx);
    vec3 i1 = e * (1.0 - e.zxy);
    vec3 i2 = 1.0 - e.zxy * (1.0 - e);
    vec3 x1 = x0 - i1 + G3;
    vec3 x2 = x0 - i2 + 2.0 * G3;
    vec3 x3 = x0 - 1.0 + 3.0 * G3;
    vec4 w = max(0.6 - vec4(dot(x0, x0), dot(x1, x1), dot(x2, x2), dot(x3, x3)), 0.0);
    w *= w;
    w *= w;
    vec4 d = vec4(dot(x0, hash33(s) * 2.0 - 1.0), dot(x1, hash33(s + i1) * 2.0 - 1.0),
                  dot(x2, hash33(s + i2) * 2.0 - 1.0), dot(x3, hash33(s + 1.0) * 2.0 - 1.0));
    return dot(w, d) * 52.0;
}

float fbmSimplex3(vec3 p, int octaves)
{
    float sum = 0.0;
    float amplitude = 0.5;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * simplexNoise3(p);
        p = p * 2.03 + vec3(1.7, 9.2, 5.3);
        amplitude *= 0.5;
    }
    return sum;
}
