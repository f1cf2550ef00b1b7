#version 330 core
// The meta cubes' scene pass: a slow camera circle around tumbling sponges and rounded cubes
// that melt into each other and mirror the cube texture, in front of a glowing fractal
// backdrop, with drifting dust and two fans of sweeping light rays. Alpha carries the depth
// of field amount for qdof: near surfaces blur, the far backdrop stays sharp.
// The dust specks were tuned with this rounding of pi, a little short of the PI below.
#define DUST_PI 3.1415692
#include "./shaders/lib/dust_turns_header.glsl"
#include "./shaders/lib/mist.glsl"
#include "./shaders/lib/hsv.glsl"
#include "./shaders/lib/gamma.glsl"
#include "./shaders/scenes/meta_shapes.glsl"

uniform float time;
uniform float partTime;
uniform vec2 resolution;
uniform float screenAspect;
uniform float lightAdd;
uniform sampler2D cubeTexture;

out vec4 fragColor;

const float PI = 3.14159265359;
const int marchSteps = 160;
const float hitDistance = 0.1;
const float farDistance = 30.0;

MetaPose pose;  // set once per pixel in main

float sceneDistance(vec3 p)
{
    return metaPosedDistance(p, pose, screenAspect);
}

// Marches `ray` from `origin` in steps of 0.4 times the distance; `travelled` is the length
// marched, the result whether it ended within the hit distance of a surface.
bool march(vec3 origin, vec3 ray, out float travelled)
{
    float d = hitDistance;
    travelled = 0.0;
    for (int i = 0; i < marchSteps; i++) {
        if (d < hitDistance || travelled > farDistance)
            break;
        d = sceneDistance(origin + ray * travelled);
        travelled += 0.4 * d;
    }
    return d < hitDistance;
}

// The normal by forward differences of 0.0001. Its four samples are the turns of a loop that a
// missed pixel leaves at once: the rasteriser runs both sides of an `if`, but a loop that no
// pixel of a block is still in ends there, so a block of backdrop pays a quarter of it.
vec3 surfaceNormalWhereHit(vec3 p)
{
    const float e = 0.0001;
    vec4 samples = vec4(0.0);
    for (int i = 0; i < 4; i++) {
        vec3 offset = vec3(i == 1 ? e : 0.0, i == 2 ? e : 0.0, i == 3 ? e : 0.0);
        float d = sceneDistance(p + offset);
        samples = vec4(i == 0 ? d : samples.x, i == 1 ? d : samples.y, i == 2 ? d : samples.z,
                       i == 3 ? d : samples.w);
    }
    return normalize(samples.yzw - samples.x);
}

// One iterated-inversion fractal field seen along `d`, drifting with `drift`; its glow is
// weighted by how sharply successive radii change, dimmed toward the edges of the view.
vec3 inversionField(vec3 d, float drift)
{
    vec2 uv = d.xy * 0.5;
    vec2 u = uv * resolution / max(resolution.x, resolution.y);
    vec3 q = vec3(u / 4.0, 0.0) + vec3(1.0, -1.3, 0.0)
           + 0.2 * vec3(sin(drift / 16.0), sin(drift / 12.0), sin(drift / 128.0));
    float strength = 7.0 + 0.03 * log(0.000001 + fract(sin(4.0 * partTime) * 4373.11));
    float previous = 0.0;
    float accum = 0.0;
    float weights = 0.0;
    // Step i weighs exp(-i / 10): the weight shrinks by a constant factor from one step to the next.
    float w = 1.0;
    for (int i = 0; i < 32; i++) {
        float m = dot(q, q);
        q = abs(q) / m + vec3(-0.5, -0.4, -1.5);
        accum += w * exp(-strength * pow(abs(m - previous), 2.3));
        weights += w;
        w *= exp(-0.1);
        previous = m;
    }
    float v = max(0.0, 5.0 * accum / weights - 0.7);
    float edge = (1.0 - exp(6.0 * (abs(uv.x) - 1.0))) * (1.0 - exp(6.0 * (abs(uv.y) - 1.0)));
    return mix(0.4, 1.0, edge) * vec3(1.8 * v * v * v, 1.4 * v * v, v);
}

vec3 backdrop(vec3 ray)
{
    return 0.5 * (inversionField(ray * 2.0, 4.0 * partTime) + inversionField(ray * 1.8, 3.0 * partTime));
}

// The reflected cube texture, brightened on the beat, fading into the backdrop `back` at grazing
// angles.
vec3 surfaceColour(vec3 ray, vec3 n, vec3 back)
{
    vec3 r = reflect(ray, n);
    vec3 colour = texture(cubeTexture, r.xy).rgb + 0.25 * lightAdd;
    float facing = 2.0 * dot(n, -ray);
    colour *= facing;
    // A facing below 0 (a normal turned away at a grazing hit) gives the pure backdrop, not a mix past it.
    if (facing < 0.2)
        colour = mix(back, colour, clamp(facing / 0.2, 0.0, 1.0));
    return colour;
}

// Six layers of dust through the winding tunnel, driven by the song time; layers beyond
// `stopDistance` (the marched length) are left out.
vec3 dust(vec2 uv, float stopDistance)
{
    vec3 eye, ray, straightEye;
    dustCamera(uv, eye, ray, straightEye);
    vec3 light = normalize(vec3(-0.2, 0.2, 0.5));
    float tone = mix(0.45, 0.55, pow(max(0.0, dot(ray, light)), 5.0));
    return vec3(dustLayers(eye, ray, 7, stopDistance) * tone);
}

// One fan of light rays from `source` (y measured down from the top), its blades set by the
// angle to `reference`, sweeping with `speed`, fading with distance.
float rayFan(vec2 c, vec2 source, vec2 reference, float seedA, float seedB, float speed)
{
    float k = dot(normalize(c - source), reference);
    float blades = (0.45 + 0.15 * sin(k * seedA + time * speed)) + (0.3 + 0.2 * cos(-k * seedB + time * speed));
    float reach = clamp((resolution.x - length(c - source)) / resolution.x, 0.5, 1.0);
    return clamp(blades, 0.0, 1.0) * reach;
}

vec3 lightRays(vec3 colour)
{
    // Rows count from the top, as this part gives its fans, so the sources at -0.4 and -0.6 height sit above the
    // picture; the tentacles count rows from the bottom and their fans rise from below.
    vec2 c = vec2(gl_FragCoord.x, resolution.y - gl_FragCoord.y);
    vec2 source1 = vec2(0.7 * resolution.x + 0.125 * cos(PI * partTime), -0.4 * resolution.y);
    vec2 source2 = vec2(0.8 * resolution.x, -0.6 * resolution.y);
    float fan1 = rayFan(c, source1, normalize(vec2(1.0, -0.116)), 36.2214, 21.11349, 1.5);
    float fan2 = rayFan(c, source2, normalize(vec2(1.0, 0.241)), 22.39910, 18.0234, 1.1);
    colour += (0.5 * fan1 + 0.4 * fan2) * clamp(0.25 * lightAdd, 0.4, 2.0);
    float b = 1.0 - c.y / resolution.y;
    return colour * vec3(0.1 + 0.8 * b, 0.3 + 0.6 * b, 0.5 + 0.5 * b);
}

// Hue a little further round, saturation a little up (kept at most 1).
vec3 colourShift(vec3 colour)
{
    vec3 hsv = rgbToHsv(colour);
    hsv.x = fract(hsv.x + 0.025);
    hsv.y = min(hsv.y + 0.05, 1.0);
    return hsvToRgb(hsv);
}

void main()
{
    float tau = partTime * 0.25;
    vec3 origin = vec3(5.0 * sin(0.1 * tau), 0.5, 5.0 * cos(0.1 * tau));
    vec3 target = vec3(0.0, 0.5, 0.0);
    vec3 up = vec3(0.0, -1.0, 0.0);
    vec3 dir = normalize(target - origin);
    vec3 right = normalize(cross(up, origin));
    vec3 camUp = cross(dir, right);
    vec2 s = 2.0 * gl_FragCoord.xy / resolution - 1.0;
    s.x *= resolution.x / resolution.y;
    vec3 ray = normalize(right * s.x + camUp * s.y + dir);

    pose = metaPoseAt(partTime);
    float travelled;
    bool hit = march(origin, ray, travelled);
    // The backdrop shows where the ray misses and at grazing hits; it is worked out once, and a
    // block of pixels that shows none of it skips its loops.
    vec3 n = hit ? surfaceNormalWhereHit(origin + ray * travelled) : vec3(0.0);
    vec3 back = vec3(0.0);
    if (!hit || 2.0 * dot(n, -ray) < 0.2)
        back = backdrop(ray);
    vec3 colour = hit ? surfaceColour(ray, n, back) : back;

    vec2 uv = gl_FragCoord.xy / resolution;
    colour += dust(uv, travelled);
    colour = lightRays(colour);
    colour = colourShift(colour);
    colour = lensVignette(colour, uv, 1.6);
    colour = filmicToneMap(colour, 2.0, 3.0);
    fragColor = vec4(colour, clamp(1.0 - 0.18 * travelled, 0.0, 1.0));
}
