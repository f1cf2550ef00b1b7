#version 330 core
// Bokeh: 150 taps on a golden-angle spiral of size `radius`, each weighted by its brightness
// to the fourth power, so bright spots spread into discs while dark areas barely blur.
#include "./shaders/lib/screen_pass_header.glsl"
#include "./shaders/lib/screen_pass.glsl"
#include "./shaders/lib/rotation.glsl"

uniform float radius;
// Set by the intro when no tap leaves the pixel's 3 x 3 texels (and the radius is not negative).
uniform bool nearSpiral;

const float tapCount = 150.0;
// The spiral's step vector at radius 1, in texture coordinates: it turns by the golden angle
// each tap while the tap's distance factor r - 1 grows (r starts at 1 and gains 1 / r).
const vec2 unitStep = vec2(0.0, 0.03 / sqrt(tapCount));
const float goldenAngle = 2.39996;

// With c = 1.8 x^2 for a tap's colour x, the weighted mean of c by c^4 is 1.8 times the mean of
// x^2 weighted by x^8: the sums keep x^10 and x^8, and the 1.8 joins at the end.
vec3 acc = vec3(0.0);
vec3 div = vec3(0.0);

void addTap(vec3 x)
{
    vec3 x2 = x * x;
    vec3 x4 = x2 * x2;
    vec3 x8 = x4 * x4;
    acc += x8 * x2;
    div += x8;
}

vec3 texelAt(ivec2 p, ivec2 last)
{
    return texelFetch(renderTexture, clamp(p, ivec2(0), last), 0).rgb;
}

// The pixel's texel and its differences toward the neighbours of each quadrant, for the
// bilinear blend here + fx dx + fy dy + fx fy dxy of a tap inside the 3 x 3 texels.
vec3 here;
vec3 dxLeft, dxRight, dyDown, dyUp;
vec3 dxyLeftDown, dxyRightDown, dxyLeftUp, dxyRightUp;
vec2 texelsPerUnit;  // a unit tap offset in texels: radius times the texture size

void fetchNeighbours()
{
    ivec2 p = ivec2(gl_FragCoord.xy);
    ivec2 last = textureSize(renderTexture, 0) - 1;
    here = texelAt(p, last);
    dxLeft = texelAt(p + ivec2(-1, 0), last) - here;
    dxRight = texelAt(p + ivec2(1, 0), last) - here;
    dyDown = texelAt(p + ivec2(0, -1), last) - here;
    dyUp = texelAt(p + ivec2(0, 1), last) - here;
    dxyLeftDown = texelAt(p + ivec2(-1, -1), last) - here - dxLeft - dyDown;
    dxyRightDown = texelAt(p + ivec2(1, -1), last) - here - dxRight - dyDown;
    dxyLeftUp = texelAt(p + ivec2(-1, 1), last) - here - dxLeft - dyUp;
    dxyRightUp = texelAt(p + ivec2(1, 1), last) - here - dxRight - dyUp;
    texelsPerUnit = radius * vec2(textureSize(renderTexture, 0));
}

// One tap at `unit` times the radius: the spiral is written out below, so every `unit` and its
// quadrant are constants of the compiled pass and only the blend is left per pixel.
void nearTap(vec2 unit)
{
    vec2 f = abs(unit) * texelsPerUnit;
    bool right = unit.x >= 0.0, up = unit.y >= 0.0;
    vec3 dx = right ? dxRight : dxLeft;
    vec3 dy = up ? dyUp : dyDown;
    vec3 dxy = up ? (right ? dxyRightUp : dxyLeftUp) : (right ? dxyRightDown : dxyLeftDown);
    addTap(here + f.x * dx + f.y * dy + (f.x * f.y) * dxy);
}

#define NEAR_TAP { r += 1.0 / r; v = turn * v; nearTap((r - 1.0) * v); }
#define NEAR_TAPS_10 NEAR_TAP NEAR_TAP NEAR_TAP NEAR_TAP NEAR_TAP NEAR_TAP NEAR_TAP NEAR_TAP NEAR_TAP NEAR_TAP

// The spiral inside the 3 x 3 texels, its 150 taps written out (a loop stays a loop in the
// compiled pass, and then every tap would work its place out again at every pixel).
void nearTaps()
{
    fetchNeighbours();
    float r = 1.0;
    vec2 v = unitStep;
    mat2 turn = rotation2(goldenAngle);
    NEAR_TAPS_10 NEAR_TAPS_10 NEAR_TAPS_10 NEAR_TAPS_10 NEAR_TAPS_10
    NEAR_TAPS_10 NEAR_TAPS_10 NEAR_TAPS_10 NEAR_TAPS_10 NEAR_TAPS_10
    NEAR_TAPS_10 NEAR_TAPS_10 NEAR_TAPS_10 NEAR_TAPS_10 NEAR_TAPS_10
}

void main()
{
    vec2 uv = passUv();
    if (nearSpiral) {
        nearTaps();
    } else {
        float R = radius * 3.0;
        float r = 1.0;
        vec2 v = vec2(0.0, R * 0.01 / sqrt(tapCount));
        mat2 golden = rotation2(goldenAngle);
        for (int i = 0; i < 150; ++i) {
            r += 1.0 / r;
            v = golden * v;
            addTap(texture(renderTexture, uv + (r - 1.0) * v).rgb);
        }
    }
    // Where every tap of a channel is black (or so dark its weights vanish) the quotient is
    // 0 / 0; the channel is then black, which is what those taps show.
    vec3 result = 1.8 * vec3(div.r > 0.0 ? acc.r / div.r : 0.0,
                             div.g > 0.0 ? acc.g / div.g : 0.0,
                             div.b > 0.0 ? acc.b / div.b : 0.0);
    fragColor = vec4(result, 1.0);
}
