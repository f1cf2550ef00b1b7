#version 330 core
// Spiral depth of field: the scene writes its blur amount into alpha, and each pixel averages
// 60 taps along a widening spiral whose length scales with that amount (alpha 0: no blur).
#include "./shaders/lib/screen_pass_header.glsl"
#include "./shaders/lib/screen_pass.glsl"
#include "./shaders/lib/rotation.glsl"

void main()
{
    vec2 uv = passUv();
    vec4 here = texture(renderTexture, uv);
    float amount = here.a;
    // Without blur every tap reads this pixel's own texel, so the mean is its colour; a block of
    // such pixels (a backdrop far from the focus) skips the taps.
    if (amount == 0.0) {
        fragColor = vec4(here.rgb, 1.0);
        return;
    }
    vec2 pixel = vec2(0.002 * resolution.y / resolution.x, 0.002);
    vec2 d = vec2(0.0, amount);
    float r = 1.0;
    mat2 turn = rotation2(12.399);
    vec3 sum = vec3(0.0);
    for (int i = 0; i < 60; ++i) {
        r += 1.0 / r;
        d = d * turn;
        sum += texture(renderTexture, uv + pixel * (r - 1.0) * d).rgb;
    }
    fragColor = vec4(sum / 60.0, 1.0);
}
