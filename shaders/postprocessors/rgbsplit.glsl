#version 330 core
// RGB split: each channel read from its own horizontal offset; red and green move with their
// offsets, blue against its own.
#include "./shaders/lib/screen_pass_header.glsl"
#include "./shaders/lib/screen_pass.glsl"

uniform float roffset;
uniform float goffset;
uniform float boffset;

void main()
{
    vec2 uv = passUv();
    float r = texture(renderTexture, vec2(uv.x - roffset, uv.y)).r;
    float g = texture(renderTexture, vec2(uv.x - goffset, uv.y)).g;
    float b = texture(renderTexture, vec2(uv.x + boffset, uv.y)).b;
    fragColor = vec4(clamp(vec3(r, g, b), 0.0, 1.0), 1.0);
}
