#version 330 core
// Bokeh: 150 taps on a golden-angle spiral of size `radius`, each weighted by its brightness
// to the fourth power, so bright spots spread into discs while dark areas barely blur.
#include "./shaders/lib/screen_pass_header.glsl"
#include "./shaders/lib/screen_pass.glsl"
#include "./shaders/lib/rotation.glsl"

uniform float radius;

void main()
{
    vec2 uv = passUv();
    float R = radius * 3.0;
    float r = 1.0;
    vec2 v = vec2(0.0, R * 0.01 / sqrt(150.0));
    mat2 golden = rotation2(2.39996);
    vec3 acc = vec3(0.0);
    vec3 div = vec3(0.0);
    for (int i = 0; i < 150; ++i) {
        r += 1.0 / r;
        v = golden * v;
        vec3 c = texture(renderTexture, uv + (r - 1.0) * v).rgb;
        c = c * c * 1.8;
        vec3 b = (c * c) * (c * c);
        acc += c * b;
        div += b;
    }
    // Where every tap of a channel is black (or so dark its weights vanish) the quotient is
    // 0 / 0; the channel is then black, which is what those taps show.
    vec3 result = vec3(div.r > 0.0 ? acc.r / div.r : 0.0,
                       div.g > 0.0 ? acc.g / div.g : 0.0,
                       div.b > 0.0 ? acc.b / div.b : 0.0);
    fragColor = vec4(result, 1.0);
}
