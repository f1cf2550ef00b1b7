#version 330 core
// Bloom: adds a gamma-darkened copy of the image to itself, so highlights brighten far more
// than shadows. The blurred highlight sum is deliberately left out: it never reached the
// picture, and computing it would cost 100 taps per pixel for nothing.
#include "./shaders/lib/screen_pass_header.glsl"
#include "./shaders/lib/screen_pass.glsl"

uniform float bloom_threshold1;
uniform float bloom_threshold2;
uniform bool apply_bloom;

void main()
{
    vec3 o = passTexel().rgb;
    if (!apply_bloom) {
        fragColor = vec4(clamp(o, 0.0, 1.0), 1.0);
        return;
    }
    // pow is undefined below zero; an out-of-range float input darkens to black there.
    vec3 s = pow(max(o, vec3(0.0)), vec3(2.2));
    fragColor = vec4(clamp(mix(s, o, bloom_threshold2) * bloom_threshold1 + o, 0.0, 1.0), 1.0);
}
