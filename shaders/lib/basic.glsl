#version 140
// Header of every ray-marched scene that ShaderSourceBuilder assembles (abstract worlds,
// tentacles, greets): the one place their shared uniforms and colour output are declared,
// plus the constants and hashes every later snippet may use.
// Provides: the shared uniforms under their fixed names, `fragColor`, PI, TAU, hash11,
// hash12, hash13, hash22, hash33, aspectUv, centredUv.
// Expects: nothing; it is the first text of the assembly. A scene file declares only the
// uniforms it adds (for instance its own samplers), never one of these again.

uniform float fft[512];
uniform float time;
uniform float hsv;
uniform float zofs;
uniform float lightAdd;
uniform float songPosition;
uniform vec2 resolution;
uniform float screenAspect;
uniform float partTime;
uniform float miscData[13];
uniform float propertyData[16];
uniform float fadeToBlackValue;
uniform float fadeToWhiteValue;
uniform int activeDemoPart;
uniform float lerp1;
uniform float lerp2;
uniform float lerp3;
uniform float bloom_threshold1;
uniform float bloom_threshold2;
uniform bool apply_bloom;
uniform float crt_threshold;
uniform float crt_mix;
uniform float dof1;
uniform float dof2;
uniform float dof3;
uniform bool apply_dof;
uniform int sub_step;
uniform float overridden_black_fac;
uniform float flare_x;
uniform float flare_y;
uniform vec2 mouse;
uniform float ofs_x;
uniform float ofs_y;
uniform float ofs_z;
uniform float rx;
uniform float ry;
uniform float rz;
uniform bool apply_tonemap;
uniform sampler2D soundTexture;

out vec4 fragColor;

const float PI = 3.1415926535898;
const float TAU = 6.28318530718;

// Hashes into [0, 1): the sine-fract family, each component from its own dot product.
float hash11(float n)
{
    return fract(sin(n) * 43758.5453123);
}

float hash12(vec2 p)
{
    return fract(sin(dot(p, vec2(127.1, 311.7))) * 43758.5453123);
}

float hash13(vec3 p)
{
    return fract(sin(dot(p, vec3(127.1, 311.7, 74.7))) * 43758.5453123);
}

vec2 hash22(vec2 p)
{
    return fract(sin(vec2(dot(p, vec2(127.1, 311.7)), dot(p, vec2(269.5, 183.3)))) * 43758.5453123);
}

vec3 hash33(vec3 p)
{
    return fract(sin(vec3(dot(p, vec3(127.1, 311.7, 74.7)), dot(p, vec3(269.5, 183.3, 246.1)),
                          dot(p, vec3(113.5, 271.9, 124.6)))) * 43758.5453123);
}

// The pixel in -1..1 on y and -aspect..aspect on x (aspect of the render target).
vec2 aspectUv()
{
    return (2.0 * gl_FragCoord.xy / resolution - 1.0) * vec2(resolution.x / resolution.y, 1.0);
}

// The pixel relative to the centre, in units of the render height (x spans about +-aspect/2).
vec2 centredUv()
{
    return (gl_FragCoord.xy - 0.5 * resolution) / resolution.y;
}
