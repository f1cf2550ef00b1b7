// Final composite of the closing part: black but for the closing logo, unrolled in two strips
// from the centre line (the upper one over 1.099 s, the lower one over 1.5 s, each brightening
// as it opens), and the shimmering grey centre line between 22 % and 78 % of the width. From
// part time 5 s everything fades to black within one second.
#version 330 core
#include "./shaders/lib/in_range.glsl"

uniform float time;
uniform float partTime;
uniform vec2 resolution;
uniform sampler2D renderTexture;
uniform sampler2D endlogo;

out vec4 fragColor;

const float endPi = 3.1415926535898;

vec3 closingLogo(vec2 uv, vec3 colour)
{
    float t1 = min(partTime, 1.099);
    vec2 q = uv;
    q.y -= 0.0025;
    q.y -= t1 * 0.035 - 0.0455;
    if (0.548 - t1 * 0.0325 < q.y && q.y < 0.548)
        colour = texture(endlogo, q).rgb * (t1 / 1.099);
    float t2 = min(partTime, 1.5);
    q = uv;
    q.y -= 0.0065;
    if (0.5 - t2 * 0.0325 < q.y && q.y < 0.5)
        colour = texture(endlogo, q).rgb * (t2 / 1.5);
    return colour;
}

void main()
{
    vec2 p = gl_FragCoord.xy;
    vec2 uv = p / resolution;
    vec3 colour = texture(renderTexture, uv).rgb;
    bool inBox = 0.22 <= uv.x && uv.x <= 0.78;
    float h = resolution.y / 2.0;
    if (p.y < h || p.y > resolution.y - h || !inBox)
        colour = vec3(0.0);
    if (0.40 < uv.y && uv.y < 0.65)
        colour = closingLogo(uv, colour);
    if ((inRange(p.y, h, 1.5) || inRange(p.y, resolution.y - h, 1.5)) && inBox)
        colour = vec3(0.8 + 0.125 * sin(uv.x * endPi + time));
    // The fade factor runs past 1 after 6 s on purpose; the clamp below turns that into black.
    if (partTime > 5.0)
        colour = mix(colour, vec3(0.0), partTime - 5.0);
    fragColor = vec4(clamp(colour, 0.0, 1.0), 1.0);
}
