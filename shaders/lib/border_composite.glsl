// The steps every border composite shares: the stretched input picture, the overlay added as
// white light with its moving bright line, the black override and the two fades, the
// letterbox test and the shimmering grey border lines. Expects the inputs of
// border_composite_header.glsl and `inRange` (in_range.glsl) before it.

const float borderPi = 3.1415926535898;

// Gentle, slow shimmer of the overlay (intro and outro).
float introOverlayGain(vec2 uv)
{
    return 0.45 + sin(time * borderPi + uv.x) * cos(0.25 * time * borderPi + uv.y) * 0.15;
}

// Stronger, finer ripple of the overlay (the ray-marched parts).
float partOverlayGain(vec2 uv)
{
    return 0.5 + sin(time * borderPi + 32.0 * uv.x) * cos(0.25 * time * borderPi + 20.0 * uv.y) * 0.35;
}

// The input picture with the overlay's red channel added as white, doubled on a band that
// wanders up and down the screen, then darkened or brightened by the override and fades.
vec3 framedPicture(vec2 uv, float overlayGain)
{
    vec3 c = texture(renderTexture, uv).rgb;
    float a = texture(crosshairOverlay, uv).r * overlayGain;
    float yo = 0.5 + cos(borderPi * time * 0.275 + sqrt(uv.x * uv.y)) * sin((uv.x + time * 0.47) * borderPi) * 0.35;
    if (inRange(uv.y, yo, 0.025))
        a = 2.0 * a;
    c = clamp(c + a, 0.0, 1.0);
    if (overridden_black_fac > 0.01)
        c = mix(c, vec3(0.0), overridden_black_fac);
    if (fadeToBlackValue > 0.0)
        c = mix(c, vec3(0.0), fadeToBlackValue);
    if (fadeToWhiteValue > 0.0)
        c = mix(c, vec3(1.0), fadeToWhiteValue);
    return c;
}

// Letterbox bars: everything below `h` pixels or above the height minus `h`.
bool inLetterbox(float y, float h)
{
    return y < h || y > resolution.y - h;
}

// The two 1.5-pixel border lines, each starting at its bar's inner edge coordinate.
bool onBorderLine(float y, float h)
{
    return inRange(y, h, 1.5) || inRange(y, resolution.y - h, 1.5);
}

vec3 borderGrey(vec2 uv)
{
    return vec3(0.8 + sin(uv.x * borderPi + time) * 0.125);
}
