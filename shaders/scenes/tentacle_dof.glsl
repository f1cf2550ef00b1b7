#version 330 core
// The tentacle part's focus pass: a 13 x 13 Gaussian blur mixed back toward the sharp image
// where the march-step ratio in alpha lies between the focus limits. The blur is separable: the
// rows pass (tentacle_dof_rows.glsl) left each pixel's Gaussian along its row in `rowSums`, and
// this pass sums those down its column (clamped to the edge, as the sampler would). The taps fall
// on texel centres, so both halves fetch texels directly.
#include "./shaders/lib/screen_pass_header.glsl"
#include "./shaders/lib/screen_pass.glsl"
#include "./shaders/lib/focus_weights.glsl"

uniform sampler2D rowSums;
uniform float dof1;
uniform float dof2;
uniform float dof3;
uniform bool apply_dof;

vec3 gaussianBlur(ivec2 pixel)
{
    ivec2 last = textureSize(rowSums, 0) - 1;
    vec3 sum = vec3(0.0);
    for (int y = -6; y <= 6; ++y)
        sum += focusWeights[y + 6] * texelFetch(rowSums, clamp(pixel + ivec2(0, y), ivec2(0), last), 0).rgb;
    return sum;
}

void main()
{
    vec4 sharp = passTexel();
    if (!apply_dof) {
        fragColor = vec4(clamp(sharp.rgb, 0.0, 1.0), 1.0);
        return;
    }
    vec3 blurred = gaussianBlur(ivec2(gl_FragCoord.xy));
    float curve = smoothstep(0.0, dof1, sharp.a) * smoothstep(dof3, dof2, sharp.a);
    fragColor = vec4(mix(blurred, sharp.rgb, curve) + 0.5 * blurred, 1.0);
}
