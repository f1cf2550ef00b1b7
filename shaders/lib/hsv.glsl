// Conversions between RGB and hue-saturation-value, each channel 0..1 and the hue in turns
// (0..1, red at 0). Branch-free forms, exact for in-range colours.
// Provides: rgbToHsv, hsvToRgb, shiftHue.
// Expects: nothing.

vec3 rgbToHsv(vec3 c)
{
    vec4 k = vec4(0.0, -1.0 / 3.0, 2.0 / 3.0, -1.0);
    vec4 p = mix(vec4(c.bg, k.wz), vec4(c.gb, k.xy), step(c.b, c.g));
    vec4 q = mix(vec4(p.xyw, c.r), vec4(c.r, p.yzx), step(p.x, c.r));
    float d = q.x - min(q.w, q.y);
    float e = 1.0e-10;
    return vec3(abs(q.z + (q.w - q.y) / (6.0 * d + e)), d / (q.x + e), q.x);
}

vec3 hsvToRgb(vec3 c)
{
    vec4 k = vec4(1.0, 2.0 / 3.0, 1.0 / 3.0, 3.0);
    vec3 p = abs(fract(c.xxx + k.xyz) * 6.0 - k.www);
    return c.z * mix(k.xxx, clamp(p - k.xxx, 0.0, 1.0), c.y);
}

// The colour with its hue turned by `turns` (wrapping around the colour wheel).
vec3 shiftHue(vec3 c, float turns)
{
    vec3 h = rgbToHsv(c);
    h.x = fract(h.x + turns);
    return hsvToRgb(h);
}
