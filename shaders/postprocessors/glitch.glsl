#version 330 core
// Glitch bands: 32 horizontal bands, each shifted sideways (wrapping around) by its own
// pseudo-random amount scaled by the beat-driven `lerp3`; at 0 the pass is a plain copy.
#include "./shaders/lib/screen_pass_header.glsl"
#include "./shaders/lib/screen_pass.glsl"
#include "./shaders/lib/random.glsl"

uniform float time;
uniform float lerp3;

void main()
{
    vec2 uv = passUv();
    float yv = floor(uv.y * 32.0) / 32.0;
    float offset = random(vec2(yv, yv) + time) * lerp3 * 0.025;
    uv.x = mod(uv.x + offset, 1.0);
    fragColor = vec4(clamp(texture(renderTexture, uv).rgb, 0.0, 1.0), 1.0);
}
