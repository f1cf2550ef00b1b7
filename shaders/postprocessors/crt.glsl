#version 330 core
// CRT look: grain, scan lines and a strong vignette, scaled by `crt_threshold` and blended
// back toward the clean image by the beat-driven `crt_mix` (1 shows the clean image).
#include "./shaders/lib/screen_pass_header.glsl"
#include "./shaders/lib/screen_pass.glsl"

uniform float time;
uniform float crt_threshold;
uniform float crt_mix;

void main()
{
    vec2 uv = passUv();
    vec3 o = passTexel().rgb;
    vec3 c = o;
    // Grain uses its own shortened hash constants, not the shared `random`.
    float n = fract(sin(dot(uv * time, vec2(12.98, 78.23))) * 43758.54);
    c -= 0.04 * n;
    c *= 0.9 + 0.1 * sin(2.0 * uv.y * resolution.y);
    c -= 1.0 - dot(uv, 1.0 - uv) * 2.4;
    c *= crt_threshold;
    fragColor = vec4(mix(c, o, crt_mix), 1.0);
}
