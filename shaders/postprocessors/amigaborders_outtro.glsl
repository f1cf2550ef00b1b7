// Final composite of the last ray-marched part: the intro's overlay and fades, but the bars
// close like a switched-off screen. From part time 29.5 s the bars grow 76 px/s until they meet
// in the middle; from 33 s side bars close in to 22 % and 78 % of the width. The border lines
// stay inside the side bars, so the frame ends as a short grey line across the middle.
#version 330 core
#include "./shaders/lib/border_composite_header.glsl"
#include "./shaders/lib/in_range.glsl"
#include "./shaders/lib/border_composite.glsl"

uniform float partTime;

void main()
{
    vec2 uv = gl_FragCoord.xy / resolution;
    vec3 c = framedPicture(uv, introOverlayGain(uv));
    float xs = 0.0;
    float xe = 1.0;
    if (partTime >= 33.0) {
        xs = (partTime - 33.0) * 0.25;
        xe = 1.0 - (partTime - 33.0) * 0.25;
    }
    xs = min(xs, 0.22);
    xe = max(xe, 0.78);
    bool inBox = xs <= uv.x && uv.x <= xe;
    float h = resolution.y / 10.0;
    if (partTime >= 29.5)
        h = h + (partTime - 29.5) * 76.0;
    h = min(h, resolution.y / 2.0);
    if (!inBox || inLetterbox(gl_FragCoord.y, h))
        c = vec3(0.0);
    if (inBox && onBorderLine(gl_FragCoord.y, h))
        c = borderGrey(uv);
    fragColor = vec4(clamp(c, 0.0, 1.0), 1.0);
}
