// Distance fog with a plateau: nothing within about 11 units, then thickening toward the far
// limit.
// Provides: fogAmount (1 = clear, toward 0 = fogged), applyFog.
// Expects: nothing.

// clamp(7.25 min(1 / (1 + 0.25 d + 0.025 d^2), 1), 0, 1) for a marched length d.
float fogAmount(float d)
{
    return clamp(7.25 * min(1.0 / (1.0 + 0.25 * d + 0.025 * d * d), 1.0), 0.0, 1.0);
}

vec3 applyFog(vec3 colour, vec3 fogColour, float d)
{
    return mix(fogColour, colour, fogAmount(d));
}
