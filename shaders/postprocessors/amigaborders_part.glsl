// Final composite of the ray-marched parts: rippling overlay light, fades, letterbox and
// border lines.
#version 330 core
#include "./shaders/lib/border_composite_header.glsl"
#include "./shaders/lib/in_range.glsl"
#include "./shaders/lib/border_composite.glsl"

void main()
{
    vec2 uv = gl_FragCoord.xy / resolution;
    vec3 c = framedPicture(uv, partOverlayGain(uv));
    float h = resolution.y / 10.0;
    if (inLetterbox(gl_FragCoord.y, h))
        c = vec3(0.0);
    if (onBorderLine(gl_FragCoord.y, h))
        c = borderGrey(uv);
    fragColor = vec4(clamp(c, 0.0, 1.0), 1.0);
}
