// Final composite with spectrum bars: as the part composite, plus (when vumeters is on) bars
// 10 pixels wide across the screen, mirrored about the middle row and cut by thin slits,
// lifted by 0.3 after the fades so they show even on a black frame.
#version 330 core
#include "./shaders/lib/border_composite_header.glsl"
uniform sampler2D soundTexture;
#include "./shaders/lib/in_range.glsl"
#include "./shaders/lib/border_composite.glsl"
#include "./shaders/lib/get_data.glsl"

uniform bool vumeters;

bool spectrumBarLit(vec2 p, vec2 uv)
{
    float barCount = resolution.x / 10.0;
    float bar = floor(p.x / resolution.x * barCount);
    float amp = getData(int(bar * (80.0 / barCount)));
    amp = amp + amp * 2.0 * uv.x;
    float h = amp * resolution.y;
    float middle = resolution.y / 2.0;
    return middle - h <= p.y && p.y <= middle + h && mod(p.x, 10.0) >= 1.0 && mod(uv.y, 0.005) > 0.0015;
}

void main()
{
    vec2 uv = gl_FragCoord.xy / resolution;
    vec3 c = framedPicture(uv, partOverlayGain(uv));
    if (vumeters && spectrumBarLit(gl_FragCoord.xy, uv))
        c = clamp(c + 0.3, 0.0, 1.0);
    float h = resolution.y / 10.0;
    if (inLetterbox(gl_FragCoord.y, h))
        c = vec3(0.0);
    if (onBorderLine(gl_FragCoord.y, h))
        c = borderGrey(uv);
    fragColor = vec4(clamp(c, 0.0, 1.0), 1.0);
}
