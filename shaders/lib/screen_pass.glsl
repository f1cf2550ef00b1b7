// The frame every full-screen pass shares: the previous pass's image, the render size and the
// one colour output. The coordinate comes from the fragment position, not from the vertex
// stage, so a pass samples texel centres exactly when `resolution` is the target size.
uniform sampler2D renderTexture;
uniform vec2 resolution;
out vec4 fragColor;

vec2 passUv()
{
    return gl_FragCoord.xy / resolution;
}
