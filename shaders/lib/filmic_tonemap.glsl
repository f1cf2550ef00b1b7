// The Uncharted 2 filmic tone map with exposure bias 2 and a white point of 3 (a brighter
// mapping than the usual 11.2), as the ray-marched scenes use it. Declares no uniforms.

// The filmic curve: shoulder strength, linear strength, linear angle, toe strength, toe
// numerator and toe denominator.
vec3 filmicCurve(vec3 x)
{
    const float A = 0.15, B = 0.50, C = 0.10, D = 0.20, E = 0.02, F = 0.30;
    return (x * (A * x + C * B) + D * E) / (x * (A * x + B) + D * F) - E / F;
}

vec3 filmicToneMap(vec3 c)
{
    const float whitePoint = 3.0;
    return filmicCurve(2.0 * c) / filmicCurve(vec3(whitePoint));
}
