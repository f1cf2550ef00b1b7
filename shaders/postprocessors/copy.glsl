#version 330 core
// Copy: the input, clamped, alpha 1.
#include "./shaders/lib/screen_pass_header.glsl"
#include "./shaders/lib/screen_pass.glsl"

void main()
{
    fragColor = vec4(clamp(texture(renderTexture, passUv()).rgb, 0.0, 1.0), 1.0);
}
