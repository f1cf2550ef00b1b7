#version 330 core
// Bokeh: 150 taps on a golden-angle spiral of size `radius`, each weighted by its brightness
// to the fourth power, so bright spots spread into discs while dark areas barely blur.
#include "./shaders/lib/screen_pass_header.glsl"
#include "./shaders/lib/screen_pass.glsl"
#include "./shaders/lib/rotation.glsl"

uniform float radius;
// Set by the intro when no tap leaves the pixel's 3 x 3 texels: each tap's distance from the
// pixel in texels (x, y), grouped by quadrant (-x -y, +x -y, -x +y, +x +y) with their counts.
uniform bool nearSpiral;
uniform vec2 nearFractions[150];
uniform int nearCounts[4];

vec3 acc = vec3(0.0);
vec3 div = vec3(0.0);

void addTap(vec3 c)
{
    c = c * c * 1.8;
    vec3 b = (c * c) * (c * c);
    acc += c * b;
    div += b;
}

vec3 texelAt(ivec2 p, ivec2 last)
{
    return texelFetch(renderTexture, clamp(p, ivec2(0), last), 0).rgb;
}

// The taps of a spiral inside the 3 x 3 texels: every tap is the bilinear blend of the pixel's
// texel and its neighbours toward the tap's quadrant, with the same weights for every pixel.
void nearTaps()
{
    ivec2 p = ivec2(gl_FragCoord.xy);
    ivec2 last = textureSize(renderTexture, 0) - 1;
    vec3 here = texelAt(p, last);
    int k = 0;
    for (int quadrant = 0; quadrant < 4; ++quadrant) {
        ivec2 side = ivec2((quadrant & 1) == 1 ? 1 : -1, quadrant >= 2 ? 1 : -1);
        vec3 besideX = texelAt(p + ivec2(side.x, 0), last);
        vec3 besideY = texelAt(p + ivec2(0, side.y), last);
        vec3 corner = texelAt(p + side, last);
        for (int i = 0; i < nearCounts[quadrant]; ++i, ++k) {
            vec2 f = nearFractions[k];
            addTap(mix(mix(here, besideX, f.x), mix(besideY, corner, f.x), f.y));
        }
    }
}

void main()
{
    vec2 uv = passUv();
    if (nearSpiral) {
        nearTaps();
    } else {
        float R = radius * 3.0;
        float r = 1.0;
        vec2 v = vec2(0.0, R * 0.01 / sqrt(150.0));
        mat2 golden = rotation2(2.39996);
        for (int i = 0; i < 150; ++i) {
            r += 1.0 / r;
            v = golden * v;
            addTap(texture(renderTexture, uv + (r - 1.0) * v).rgb);
        }
    }
    // Where every tap of a channel is black (or so dark its weights vanish) the quotient is
    // 0 / 0; the channel is then black, which is what those taps show.
    vec3 result = vec3(div.r > 0.0 ? acc.r / div.r : 0.0,
                       div.g > 0.0 ? acc.g / div.g : 0.0,
                       div.b > 0.0 ? acc.b / div.b : 0.0);
    fragColor = vec4(result, 1.0);
}
