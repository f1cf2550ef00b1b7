#version 330 core
// The tentacle part's focus pass: a 13 x 13 Gaussian blur mixed back toward the sharp image
// where the march-step ratio in alpha lies between the focus limits. The taps fall on texel
// centres, so the blur fetches texels directly (clamped to the edge, as the sampler would)
// instead of paying for filtering that would only weigh each texel by one.
#include "./shaders/lib/screen_pass_header.glsl"
#include "./shaders/lib/screen_pass.glsl"

uniform float dof1;
uniform float dof2;
uniform float dof3;
uniform bool apply_dof;

const float weights[13] = float[](0.002216, 0.008764, 0.026995, 0.064759, 0.120985, 0.176033, 0.199471,
                                  0.176033, 0.120985, 0.064759, 0.026995, 0.008764, 0.002216);

vec3 gaussianBlur(ivec2 pixel)
{
    ivec2 last = textureSize(renderTexture, 0) - 1;
    vec3 sum = vec3(0.0);
    for (int x = -6; x <= 6; ++x)
        for (int y = -6; y <= 6; ++y)
            sum += weights[x + 6] * weights[y + 6]
                 * texelFetch(renderTexture, clamp(pixel + ivec2(x, y), ivec2(0), last), 0).rgb;
    return sum;
}

void main()
{
    vec2 uv = passUv();
    vec4 sharp = texture(renderTexture, uv);
    if (!apply_dof) {
        fragColor = vec4(clamp(sharp.rgb, 0.0, 1.0), 1.0);
        return;
    }
    vec3 blurred = gaussianBlur(ivec2(gl_FragCoord.xy));
    float curve = smoothstep(0.0, dof1, sharp.a) * smoothstep(dof3, dof2, sharp.a);
    fragColor = vec4(mix(blurred, sharp.rgb, curve) + 0.5 * blurred, 1.0);
}
