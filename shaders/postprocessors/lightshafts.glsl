#version 330 core
// Light shafts: the scene's light mask (alpha, read by hand from the first half's quad words) is
// smeared along the line to a slowly swinging light point, tinted sky blue over the image, then
// vignetted, contrast-shaped and gamma lifted.
#include "./shaders/lib/screen_pass_header.glsl"
#include "./shaders/lib/screen_pass.glsl"
#include "./shaders/lib/quad_filter.glsl"

uniform float time;
// The mask's quad words from the first half (channel_quads.glsl): each tap is one fetch.
uniform usampler2D alphaQuads;

void main()
{
    vec2 uv = passUv();
    vec2 centre = vec2(0.2 + 0.1 * sin(time * 3.1415692), 0.66);
    vec2 stepUv = (centre - uv) / 100.0;
    // The first tap is the pixel itself: one read gives its mask and its colour.
    vec4 here = passTexel();
    ivec2 quadSize = textureSize(alphaQuads, 0);
    vec2 q = uv + stepUv;
    float w = 0.995;
    float sum = here.a;
    // The other 99 taps written out: their weights become constants of the compiled pass, and
    // no loop counter is kept. They lie between this pixel's centre and the light point, which
    // is inside the picture, so none needs clamping.
#define SHAFT_TAP { sum += quadFilteredInside(alphaQuads, quadSize, q) * w; w *= 0.995; q += stepUv; }
#define SHAFT_TAPS_9 SHAFT_TAP SHAFT_TAP SHAFT_TAP SHAFT_TAP SHAFT_TAP SHAFT_TAP SHAFT_TAP SHAFT_TAP SHAFT_TAP
    SHAFT_TAPS_9 SHAFT_TAPS_9 SHAFT_TAPS_9 SHAFT_TAPS_9 SHAFT_TAPS_9 SHAFT_TAPS_9
    SHAFT_TAPS_9 SHAFT_TAPS_9 SHAFT_TAPS_9 SHAFT_TAPS_9 SHAFT_TAPS_9
    sum /= 100.0;
    vec3 c = here.rgb;
    c = mix(c, sum * vec3(0.455, 0.792, 1.0), 0.7);
    c = clamp(1.5 * c, 0.0, 1.0);
    c *= 0.5 + 0.5 * pow(10.0 * uv.x * uv.y * (1.0 - uv.x) * (1.0 - uv.y), 0.3);
    c = smoothstep(0.0, 0.6, c + 0.05);
    c = pow(c, vec3(1.0 / 2.2));
    fragColor = vec4(c, 1.0);
}
