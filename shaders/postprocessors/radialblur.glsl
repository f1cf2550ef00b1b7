#version 330 core
// Radial blur: 55 decaying taps from the pixel toward the screen centre, started at a jittered
// offset so the steps do not band, then exposed up and darkened toward the corners.
#include "./shaders/lib/screen_pass_header.glsl"
#include "./shaders/lib/screen_pass.glsl"

void main()
{
    vec2 uv = passUv();
    vec2 tuv = uv - 0.5;
    vec2 duv = tuv / 55.0 * 0.9;
    vec4 c = passTexel() * 0.25;
    float w = 0.008;
    // This jitter hash keeps the unfolded sine on purpose: it is not the shared `random`.
    uv += duv * fract(sin(dot(uv, vec2(12.9898, 78.233))) * 43758.5453);
    // The 55 taps written out: their weights become constants of the compiled pass, and no
    // loop counter is kept.
#define BLUR_TAP { uv -= duv; c += texture(renderTexture, uv) * w; w *= 0.95; }
#define BLUR_TAPS_5 BLUR_TAP BLUR_TAP BLUR_TAP BLUR_TAP BLUR_TAP
    BLUR_TAPS_5 BLUR_TAPS_5 BLUR_TAPS_5 BLUR_TAPS_5 BLUR_TAPS_5 BLUR_TAPS_5
    BLUR_TAPS_5 BLUR_TAPS_5 BLUR_TAPS_5 BLUR_TAPS_5 BLUR_TAPS_5
    c *= 4.1;
    c *= 1.0 - dot(tuv, tuv) * 0.975;
    fragColor = vec4(c.rgb, 1.0);
}
