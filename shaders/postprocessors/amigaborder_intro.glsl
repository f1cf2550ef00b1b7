// Final composite of the intro: overlay light, fades, letterbox, the caption image faded in
// by textAlpha, then the border lines drawn over bars and captions alike.
#version 330 core
#include "./shaders/lib/border_composite_header.glsl"
#include "./shaders/lib/in_range.glsl"
#include "./shaders/lib/border_composite.glsl"

uniform sampler2D textTexture;
uniform float textAlpha;

void main()
{
    vec2 uv = gl_FragCoord.xy / resolution;
    vec3 c = framedPicture(uv, introOverlayGain(uv));
    float h = resolution.y / 10.0;
    if (inLetterbox(gl_FragCoord.y, h))
        c = vec3(0.0);
    vec4 text = texture(textTexture, uv);
    c = mix(c, text.rgb, text.a * textAlpha);
    if (onBorderLine(gl_FragCoord.y, h))
        c = borderGrey(uv);
    fragColor = vec4(clamp(c, 0.0, 1.0), 1.0);
}
