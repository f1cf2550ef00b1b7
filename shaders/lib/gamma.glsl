// Colour output of the ray-marched scenes: gamma, the filmic tone curve and the lens vignette.
// The assembled scenes add it as a snippet; the plain scene files (intro, meta cubes) include
// it for the tone curve and the vignette, and do their own gamma, if any.
// Provides: gammaCorrect (only where GAMMA is defined), filmicCurve, filmicToneMap,
// lensVignette.
// Expects: GAMMA for gammaCorrect (in the assembled scenes, the generated "#define GAMMA" line
// just above this snippet).

#ifdef GAMMA
// colour^(1 / GAMMA), negative channels treated as black (pow is undefined below zero).
vec3 gammaCorrect(vec3 colour)
{
    return pow(max(colour, vec3(0.0)), vec3(1.0 / GAMMA));
}
#endif

// The Uncharted 2 filmic curve: shoulder strength 0.15, linear strength 0.50, linear angle
// 0.10, toe strength 0.20, toe numerator 0.02, toe denominator 0.30.
vec3 filmicCurve(vec3 x)
{
    const float A = 0.15;
    const float B = 0.50;
    const float C = 0.10;
    const float D = 0.20;
    const float E = 0.02;
    const float F = 0.30;
    return (x * (A * x + C * B) + D * E) / (x * (A * x + B) + D * F) - E / F;
}

// The curve applied to exposureBias x colour and normalised by its value at the white point.
vec3 filmicToneMap(vec3 colour, float exposureBias, float whitePoint)
{
    return filmicCurve(exposureBias * colour) / filmicCurve(vec3(whitePoint));
}

// Darkens toward the corners: q = uv / radius, colour x (1 - min(|q|^4, 1))^2.
vec3 lensVignette(vec3 colour, vec2 uv, float radius)
{
    vec2 q = uv / radius;
    float q2 = dot(q, q);
    float c2 = 1.0 - min(q2 * q2, 1.0);
    return colour * c2 * c2;
}
