#version 330 core
// The production logo faded in from black over the whole target.
#include "./shaders/lib/screen_pass_header.glsl"
#include "./shaders/lib/screen_pass.glsl"

uniform float alpha;

void main()
{
    vec3 c = texture(renderTexture, passUv()).rgb;
    fragColor = vec4(clamp(c * clamp(alpha, 0.0, 1.0), 0.0, 1.0), 1.0);
}
