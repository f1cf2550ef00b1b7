#version 330 core
// FXAA, compact form: four diagonal neighbours and the centre give the edge direction, one
// blur along it; the wider four-tap blend is kept unless it overshoots the local luma range.
#include "./shaders/lib/screen_pass_header.glsl"
#include "./shaders/lib/screen_pass.glsl"

const vec3 LUMA = vec3(0.299, 0.587, 0.114);
const float FXAA_SPAN_MAX = 8.0;
const float FXAA_REDUCE_MUL = 1.0 / 8.0;
const float FXAA_REDUCE_MIN = 1.0 / 128.0;
const float FXAA_SUBPIX_SHIFT = 1.0 / 4.0;

vec3 tap(vec2 p)
{
    return texture(renderTexture, p).rgb;
}

void main()
{
    vec2 uv = passUv();
    vec2 e = 1.0 / resolution;
    vec2 o = uv - e * (0.5 + FXAA_SUBPIX_SHIFT);
    float lumaNW = dot(tap(o), LUMA);
    float lumaNE = dot(tap(o + vec2(1.0, 0.0) * e), LUMA);
    float lumaSW = dot(tap(o + vec2(0.0, 1.0) * e), LUMA);
    float lumaSE = dot(tap(o + vec2(1.0, 1.0) * e), LUMA);
    float lumaM = dot(passTexel().rgb, LUMA);
    float lumaMin = min(lumaM, min(min(lumaNW, lumaNE), min(lumaSW, lumaSE)));
    float lumaMax = max(lumaM, max(max(lumaNW, lumaNE), max(lumaSW, lumaSE)));

    vec2 dir = vec2(-((lumaNW + lumaNE) - (lumaSW + lumaSE)), (lumaNW + lumaSW) - (lumaNE + lumaSE));
    float reduce = max((lumaNW + lumaNE + lumaSW + lumaSE) * (0.25 * FXAA_REDUCE_MUL), FXAA_REDUCE_MIN);
    float rcpDirMin = 1.0 / (min(abs(dir.x), abs(dir.y)) + reduce);
    dir = clamp(dir * rcpDirMin, -FXAA_SPAN_MAX, FXAA_SPAN_MAX) * e;

    vec3 a = 0.5 * (tap(uv + dir * (1.0 / 3.0 - 0.5)) + tap(uv + dir * (2.0 / 3.0 - 0.5)));
    vec3 b = a * 0.5 + 0.25 * (tap(uv + dir * -0.5) + tap(uv + dir * 0.5));
    float lumaB = dot(b, LUMA);
    fragColor = vec4((lumaB < lumaMin || lumaB > lumaMax) ? a : b, 1.0);
}
