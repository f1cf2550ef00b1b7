// The logo part's scene pass: the logo image over the whole target, darkened along a field of
// numLines glowing-black curves, with layers of dust specks drifting through a winding tunnel.
#version 330 core

uniform float partTime;
uniform vec2 resolution;
uniform sampler2D renderTexture;
uniform float alpha;
uniform float numLines;
#include "./shaders/lib/dust_turns_header.glsl"

out vec4 fragColor;

// The rounding of pi the dust specks were tuned with, a little short of pi.
const float PI = 3.1415692;

#include "./shaders/lib/mist.glsl"

// Large and negative near each curve, so adding it draws the curves black.
float lineField(vec2 p)
{
    float light = 0.0;
    for (float x = 0.0; x < numLines; x += 1.0) {
        float s = sin(sin(partTime + p.x * x) - p.y * dot(vec2(x + p.y), vec2(sin(x), cos(x))));
        vec2 f = vec2(s);
        light -= 0.04 / distance(p, f) - 0.01 * distance(vec2(cos(partTime + p.y)), p);
    }
    return light;
}

vec3 dust(vec2 uv)
{
    vec3 s, r, q;
    dustCamera(uv, s, r, q);
    vec3 l = normalize(vec3(-0.2, 0.2, 0.5));
    vec3 back = vec3(mix(0.15, 0.2, pow(max(0.0, dot(r, l)), 5.0)));
    return dustLayers(s, r, 15, length(q - s)) * back;
}

void main()
{
    vec2 p = (gl_FragCoord.xy * 2.0 - resolution) / min(resolution.x, resolution.y);
    vec3 c = vec3(lineField(p) * (0.5 + 0.3 * sin(p.y * partTime * 0.625)));
    vec2 uv = gl_FragCoord.xy / resolution;
    vec3 base = texture(renderTexture, uv).rgb;
    vec3 colour = mix(vec3(0.0), base, clamp(alpha, 0.0, 1.0)) + c;
    colour += dust(uv);
    fragColor = vec4(clamp(colour, 0.0, 1.0), 1.0);
}
