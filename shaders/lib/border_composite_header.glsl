// Header of the border composites (the final pass of every ray-marched part): the inputs the
// whole family reads and its one colour output. A variant includes this once, then
// in_range.glsl and border_composite.glsl, and declares only what it adds (captions,
// spectrum, part time).
uniform sampler2D renderTexture;
uniform sampler2D crosshairOverlay;
uniform float time;
uniform vec2 resolution;
uniform float overridden_black_fac;
uniform float fadeToBlackValue;
uniform float fadeToWhiteValue;
out vec4 fragColor;
