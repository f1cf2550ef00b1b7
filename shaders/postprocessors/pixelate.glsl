#version 330 core
// Pixelate: square cells of `pixelValue` 512ths of the screen, whatever the render size, each
// showing the image at its lower-left corner.
#include "./shaders/lib/screen_pass_header.glsl"
#include "./shaders/lib/screen_pass.glsl"

uniform float pixelValue;

void main()
{
    vec2 uv = passUv();
    float d = pixelValue / 512.0;
    // A cell of size zero (or less) would divide by zero; it means no pixelation: a copy.
    vec2 at = d > 0.0 ? d * floor(uv / d) : uv;
    fragColor = vec4(clamp(texture(renderTexture, at).rgb, 0.0, 1.0), 1.0);
}
