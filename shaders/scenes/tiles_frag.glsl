#version 330 core
// Tile mesh fragment stage: the picture's texel times itself with the tile's life as alpha,
// so colours come out squared and a fading tile turns transparent.
in vec2 TexCoords;
in float life;

uniform sampler2D texChannel0;

out vec4 fragColor;

void main()
{
    vec4 t = texture(texChannel0, TexCoords);
    fragColor = t * vec4(t.rgb, life);
}
