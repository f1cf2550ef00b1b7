#version 330 core
// The intro's scene pass: a slow flight over a rolling terrain whose relief breathes with the
// music, faded in from black over four seconds, with layers of drifting dust from second 8,
// a hue turn, beat desaturation, a lens falloff and a filmic tone map. Alpha carries the
// depth-of-field amount for the spiral blur that follows: 0 twenty units ahead, 1 at 0 and 60.
uniform float time;
uniform float partTime;
uniform vec2 resolution;
uniform float lightAdd;
uniform float lerp3;
// The rock texture's red channel as quad words (quad_filter.glsl), read through
// quadFilteredRepeat: five such reads a march step, a quarter of the texel fetches.
uniform usampler2D rockRedQuads;
ivec2 rockSize;  // its size, set once per pixel in main
uniform sampler2D soundTexture;
#include "./shaders/lib/dust_turns_header.glsl"

out vec4 fragColor;

// This scene's own rounding of pi; the camera swing and the dust were tuned with it (the dust
// of mist.glsl takes it from here).
const float PI = 3.1415692;
const float TAU = 6.28318530718;
const int marchSteps = 45;

#include "./shaders/lib/get_data.glsl"
#include "./shaders/lib/rotation.glsl"
#include "./shaders/lib/hsv.glsl"
#include "./shaders/lib/mist.glsl"
#include "./shaders/lib/gamma.glsl"
#include "./shaders/lib/quad_filter.glsl"

// (u, v) turned by angle a: (u cos a + v sin a, -u sin a + v cos a).
vec2 turned(vec2 p, float a)
{
    return p * rotation2(a);
}

// Signed height of q above the terrain. The terrain is four octaves of the rock texture's red
// channel; its relief follows the spectrum bin picked by the noise value, held flat while the
// picture fades in (fadeIn = 1). Adds relief / noise to reliefSum for the brightness.
float terrainHeight(vec3 q, float fadeIn, inout float reliefSum)
{
    // The octaves written out: a loop on a float counter stays a loop in the compiled code.
    vec2 c = 0.0005 * q.xz;
    float n = quadFilteredRepeat(rockRedQuads, rockSize, c * 2.0) / 2.0;
    n += quadFilteredRepeat(rockRedQuads, rockSize, c * 4.0) / 4.0;
    n += quadFilteredRepeat(rockRedQuads, rockSize, c * 8.0) / 8.0;
    n += quadFilteredRepeat(rockRedQuads, rockSize, c * 16.0) / 16.0;
    float music = getData(int(256.0 * n)) * 8.75;
    float image = quadFilteredRepeat(rockRedQuads, rockSize, vec2(n, 0.0));
    float a = mix(mix(music, image, 0.82), 0.0, fadeIn);
    float h = 4.0 * a;
    reliefSum += h / n;
    return q.y + 30.0 * n - h;
}

// Layers of dust in a winding tunnel, one more layer per second from second 8 up to 14,
// each fading with depth; none beyond the terrain's march point `terrainPoint`.
vec3 dust(vec2 uv, vec3 terrainPoint)
{
    vec3 eye, ray, straightEye;
    dustCamera(uv, eye, ray, straightEye);
    vec3 sky = mix(vec3(0.1, 0.2, 0.2), vec3(0.5, 0.5, 0.6),
                   pow(max(0.0, dot(ray, normalize(vec3(-0.2, 0.2, 0.5)))), 5.0));
    int layers = int(clamp(partTime - 8.0, 0.0, 15.0));
    return dustLayers(eye, ray, layers, distance(eye, terrainPoint)) * sky;
}

void main()
{
    float T = time;
    rockSize = textureSize(rockRedQuads, 0);
    float fadeIn = clamp(1.0 - partTime * 0.25, 0.0, 1.0);

    // Camera: forward along +z at 4 units per second, drifting right, pitched down, with a
    // slight roll and a slow yaw swing.
    vec3 ro = vec3(0.12 * T, 5.0, 4.0 * T);
    vec3 rd = normalize(vec3(2.0 * gl_FragCoord.xy - resolution, resolution.y));
    const float f = 0.0486;
    rd.yz = turned(rd.yz, -0.65 + 0.12 * cos(PI * f * T));
    rd.xy = turned(rd.xy, f * sin(0.1 * T));
    rd.xz = turned(rd.xz, 0.8 * sin(PI * f * T));

    // March from the plane y = 0 with half steps of the height; the relief sum is the light.
    // The terrain carries no grid lines: the picture is the relief's light alone.
    float t = abs(ro.y / rd.y);
    float reliefSum = 0.0;
    vec3 q = ro;
    for (int i = 0; i < marchSteps; i++) {
        q = ro + rd * t;
        t += 0.5 * terrainHeight(q, fadeIn, reliefSum);
    }
    float light = 0.01 * reliefSum * exp(-0.02 * t);

    float zWeight = 0.7 + 0.25 * cos(0.5 * PI * partTime);
    vec3 k = 0.5 + 0.5 * vec3(0.125 * sin(1.0 + TAU / 3.0), 0.25 * sin(1.0),
                              1.25 * sin(1.0 + 2.0 * TAU / 3.0) + rd.z * zWeight);
    vec3 image = max(0.6 * light * k + 0.3 * (1.0 - k), 0.0);

    vec3 background = mix(vec3(0.095, 0.105, 0.323), vec3(0.0), fadeIn);
    image = mix(image, background, fadeIn);

    vec2 uv = (2.0 * gl_FragCoord.xy / resolution - 1.0) * vec2(resolution.x / resolution.y, 1.0);
    if (partTime > 8.0)
        image += dust(uv, q);

    image = shiftHue(image, 0.864);
    image = mix(image, vec3(image.r), lerp3);

    image = lensVignette(image, uv, 1.65 - 0.125 * lightAdd);
    image = filmicToneMap(image, 2.0, 3.0);
    float focus = min(0.5 * abs(0.05 * (q.z - ro.z) - 1.0), 5.0);
    fragColor = vec4(image, focus);
}
