#version 330 core
// The tentacle focus's first half: each pixel's 13-texel Gaussian along its own row (clamped to
// the edge, as the sampler would), into a float target that the focus pass then sums down the
// columns. Two passes of 13 fetches each instead of one of 13 x 13.
#include "./shaders/lib/screen_pass_header.glsl"
#include "./shaders/lib/focus_weights.glsl"

void main()
{
    ivec2 pixel = ivec2(gl_FragCoord.xy);
    ivec2 last = textureSize(renderTexture, 0) - 1;
    vec3 sum = vec3(0.0);
    for (int x = -6; x <= 6; ++x)
        sum += focusWeights[x + 6] * texelFetch(renderTexture, clamp(pixel + ivec2(x, 0), ivec2(0), last), 0).rgb;
    fragColor = vec4(sum, 1.0);
}
