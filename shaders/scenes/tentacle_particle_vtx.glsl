#version 330 core
// A bubble of the tentacle part: the screen quad shrunk, turned and moved by `model` in the
// render target's own coordinates (no camera), carrying the particle's fade value.
layout (location = 0) in vec2 aPos;
layout (location = 1) in vec2 aTexCoords;

uniform mat4 model;
uniform float aLife;

out vec2 TexCoords;
out float life;

void main()
{
    TexCoords = aTexCoords;
    life = aLife;
    gl_Position = model * vec4(aPos, 0.0, 1.0);
}
