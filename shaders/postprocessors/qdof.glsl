#version 330 core
// Spiral depth of field: the scene writes its blur amount into alpha, and each pixel averages
// 60 taps along a widening spiral whose length scales with that amount (alpha 0: no blur). With
// QDOF_TAPS_WRITTEN_OUT defined (qdof_written_out.glsl) the taps are written out instead of a
// loop: cheaper where every pixel blurs, but a block of unblurred pixels can no longer leave.
#include "./shaders/lib/screen_pass_header.glsl"
#include "./shaders/lib/screen_pass.glsl"
#include "./shaders/lib/rotation.glsl"

void main()
{
    vec2 uv = passUv();
    vec4 here = passTexel();
    float amount = here.a;
    // Without blur every tap reads this pixel's own texel, so the mean is its colour; a block of
    // such pixels (a backdrop far from the focus) skips the taps.
    if (amount == 0.0) {
        fragColor = vec4(here.rgb, 1.0);
        return;
    }
    vec2 pixel = vec2(0.002 * resolution.y / resolution.x, 0.002);
    float r = 1.0;
    mat2 turn = rotation2(12.399);
    vec3 sum = vec3(0.0);
#ifdef QDOF_TAPS_WRITTEN_OUT
    // Each tap's place at amount 1 is a constant of the compiled pass (r and the turned direction
    // fold away); the pixel's reach, amount times a pixel, scales it. Equal up to rounding to the
    // loop below.
    vec2 direction = vec2(0.0, 1.0);
    vec2 reach = amount * pixel;
#define QDOF_STEP r += 1.0 / r; direction = direction * turn;
#define QDOF_TAP { QDOF_STEP sum += texture(renderTexture, uv + reach * ((r - 1.0) * direction)).rgb; }
#define QDOF_TAPS_10 QDOF_TAP QDOF_TAP QDOF_TAP QDOF_TAP QDOF_TAP QDOF_TAP QDOF_TAP QDOF_TAP QDOF_TAP QDOF_TAP
    QDOF_TAPS_10 QDOF_TAPS_10 QDOF_TAPS_10 QDOF_TAPS_10 QDOF_TAPS_10 QDOF_TAPS_10
#else
    vec2 d = vec2(0.0, amount);
    for (int i = 0; i < 60; ++i) {
        r += 1.0 / r;
        d = d * turn;
        sum += texture(renderTexture, uv + pixel * (r - 1.0) * d).rgb;
    }
#endif
    fragColor = vec4(sum / 60.0, 1.0);
}
