#version 330 core
// An overlay image of the tentacle part (credits, small logo): the screen quad placed in front
// of the picture by `MVP` (projection x model).
layout (location = 0) in vec2 aPos;
layout (location = 1) in vec2 aTexCoords;

uniform mat4 MVP;

out vec2 TexCoords;

void main()
{
    TexCoords = aTexCoords;
    gl_Position = MVP * vec4(aPos.x, aPos.y, 0.0, 1.0);
}
