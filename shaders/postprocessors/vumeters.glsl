#version 330 core
// Spectrum box: a swaying spectrum analyser drawn into a fixed screen rectangle, its bars
// growing toward the right; pixels on or outside the rectangle's edges pass through. The pass
// chain copies the picture and draws only over the box.
#include "./shaders/lib/screen_pass_header.glsl"
uniform sampler2D soundTexture;
#include "./shaders/lib/screen_pass.glsl"
#include "./shaders/lib/get_data.glsl"
#include "./shaders/lib/in_range.glsl"

uniform float time;
// The box: left, bottom, width and height in texture coordinates, set by the pass chain, which
// draws over the box alone.
uniform vec4 spectrumBox;

const float PI = 3.1415926535898;

void main()
{
    vec2 uv = passUv();
    vec3 c = passTexel().rgb;
    vec2 boxEnd = spectrumBox.xy + spectrumBox.zw;
    if (uv.x > spectrumBox.x && uv.x < boxEnd.x && uv.y > spectrumBox.y && uv.y < boxEnd.y) {
        float xo = (uv.x - spectrumBox.x) / spectrumBox.z;
        float amp = getData(int(xo * 256.0));
        float y = (uv.y - spectrumBox.y) / spectrumBox.w;
        float k = 0.6 + sin(time * PI + 10.0 * uv.x) * cos(1.25 * time * PI + 20.0 * uv.x + uv.y) * 0.6;
        float h = amp * (1.0 + k);
        h = h + h * 8.0 * xo;
        if (inRange(y, 0.5 - h, 2.0 * h)) {
            c = mix(c, vec3(1.0), (2.0 * h + 0.45) * 0.75);
        }
    }
    fragColor = vec4(clamp(c, 0.0, 1.0), 1.0);
}
