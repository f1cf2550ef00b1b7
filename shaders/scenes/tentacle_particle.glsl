#version 330 core
// A bubble's colour: the sprite texel squared, its alpha faded by the particle's life.
in vec2 TexCoords;
in float life;

uniform sampler2D sprite;

out vec4 FragColor;

void main()
{
    vec4 t = texture(sprite, TexCoords);
    FragColor = t * vec4(t.rgb, life);
}
