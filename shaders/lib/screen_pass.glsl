// The texture coordinate of a full-screen pass. It comes from the fragment position, not from
// the vertex stage, so a pass samples texel centres exactly when `resolution` is the target
// size. Expects `resolution` (vec2) and `renderTexture` declared by the including file's header.
vec2 passUv()
{
    return gl_FragCoord.xy / resolution;
}

// The texel of renderTexture under this pixel: what a filtered read at passUv gives when the
// target is the texture's size, fetched without the filter's four reads and blend.
vec4 passTexel()
{
    return texelFetch(renderTexture, ivec2(gl_FragCoord.xy), 0);
}
