// The air of the ray-marched scenes: drifting mist along the view ray, lit from one light,
// and specks of dust seen from a second camera drifting down a gently winding tunnel. The
// assembled scenes add it as a snippet; the plain scene files (intro, logo, meta cubes)
// include it for the dust.
// Provides: trigNoise, mistAlongRay, mistBlend, dustCamera, dustDots, dustLayers.
// Pulls in turn_trig.glsl for the noise's sines.
// Expects: PI, the rounding of pi that spaces the specks (basic.glsl's in the assembled
// scenes, the including file's own in the others), unless DUST_PI is defined before this file;
// the dust's camera, turns and scales of this frame (dust_turns_header.glsl, before this file),
// in place of per-pixel sines.

#include "./shaders/lib/turn_trig.glsl"

#ifndef DUST_PI
#define DUST_PI PI
#endif

// Animated trigonometric noise, three octaves of products of sines, about 0..0.9 (the
// polynomial sines: a smooth term, so their rounding stays invisible).
float trigNoise(vec3 p, float clock)
{
    float sum = 0.0;
    float amplitude = 0.5;
    for (int i = 0; i < 3; ++i) {
        p += vec3(0.31, 0.17, 0.23) * clock;
        sum += amplitude * (0.5 + 0.5 * sinOf(p.x + sinOf(1.7 * p.y)) * cosOf(p.z + sinOf(1.3 * p.x)));
        p = p.yzx * 2.07;
        amplitude *= 0.5;
    }
    return sum;
}

// Half the sum of four noise samples along the ray (from 1/8 of the hit length in steps of 1/4
// of it), each at twice the sample point and weighted by min(1 / (1 + 0.25 s + 0.05 s^2), 1),
// s = the sample's distance to the light / 30: the mist the ray passes through.
float mistAlongRay(vec3 ro, vec3 rd, float hitLength, vec3 lightPosition, float clock)
{
    float sum = 0.0;
    float s = hitLength / 8.0;
    for (int i = 0; i < 4; ++i) {
        vec3 q = ro + rd * s;
        float l = distance(q, lightPosition) / 30.0;
        sum += trigNoise(2.0 * q, clock) * min(1.0 / (1.0 + 0.25 * l + 0.05 * l * l), 1.0);
        s += hitLength / 4.0;
    }
    return sum / 2.0;
}

// 0.65 colour + 0.125 mix((0.8 b + 0.2) fogColour, colour, mist x fog), b = the light's glow
// in the ray's direction, (max(rd . lightDirection, 0) x 0.5 + 0.5)^4.
vec3 mistBlend(vec3 colour, vec3 fogColour, vec3 rd, vec3 lightDirection, float mist, float fog)
{
    float b = pow(max(dot(rd, lightDirection), 0.0) * 0.5 + 0.5, 4.0);
    return 0.65 * colour + 0.125 * mix((0.8 * b + 0.2) * fogColour, colour, mist * fog);
}

// The dust camera of this frame (dust_turns_header.glsl): `eye` and `ray` through the scene's
// screen coordinate uv; `straightEye` is the eye before the tunnel moved it.
void dustCamera(vec2 uv, out vec3 eye, out vec3 ray, out vec3 straightEye)
{
    eye = dustEye;
    straightEye = dustStraightEye;
    ray = normalize(dustAxes[0] * uv.x + dustAxes[1] * uv.y + 0.7 * dustAxes[2]);
}

// One layer of specks: a grid of soft dots whose rows are shifted by a per-row hash; the layer's
// `scale`, 4 + sin(j) for layer index j, sets the grid's size. Up to about 1 at a dot's centre,
// 0 between dots.
float dustDots(vec3 v, float scale)
{
    v *= scale;
    v.x += fract(sin(floor(v.y)) * 1000.0);
    v *= DUST_PI;
    return clamp(0.1 - length(vec2(sin(v.x), cos(v.y))), 0.0, 1.0) * 10.3;
}

// Layer j's specks at depth d along the dust ray, its point already turned, faded by
// 1 - d / layerCount.
float dustLayer(vec3 v, float d, float scale, int layerCount)
{
    return dustDots(v, scale) * clamp(1.0 - d / float(layerCount), 0.0, 1.0);
}

// Layers j = 1 .. layerCount - 1 of specks along the dust ray, layer j at depth 0.2 j / ray.z,
// faded by 1 - depth / layerCount; none deeper than maxDistance. Each layer's point turns in
// xy by the frame's angle of that layer, so the specks swirl; the scene uploaded the angles'
// cosines and sines with the layers' scales (scenes/dust_turns.h), the same for every pixel.
float dustLayers(vec3 eye, vec3 ray, int layerCount, float maxDistance)
{
    float sum = 0.0;
    for (int j = 1; j < dustTurns.length(); ++j) {
        float d = float(j) * 0.2 / ray.z;
        // Depth grows with j, so skipping every layer past maxDistance drops the layers that
        // stopping at the first one would; with a per-frame layer count this loop runs faster.
        if (j >= layerCount || d > maxDistance)
            continue;
        vec3 v = vec3(eye.xy, 0.0) + ray * d;
        vec4 layer = dustTurns[j];
        v.xy = vec2(v.x * layer.x + v.y * layer.y, -v.x * layer.y + v.y * layer.x);
        sum += dustLayer(v, d, layer.z, layerCount);
    }
    return sum;
}
