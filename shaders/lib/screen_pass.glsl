// The texture coordinate of a full-screen pass. It comes from the fragment position, not from
// the vertex stage, so a pass samples texel centres exactly when `resolution` is the target
// size. Expects `resolution` (vec2) declared by the including file's header.
vec2 passUv()
{
    return gl_FragCoord.xy / resolution;
}
