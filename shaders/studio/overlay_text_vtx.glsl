// The studio's overlay text: glyph and box quads given in window pixels from the top left.
#version 330 core
layout (location = 0) in vec2 aPos;
layout (location = 1) in vec2 aTexCoords;
layout (location = 2) in vec4 aColor;

uniform vec2 windowSize;

out vec2 TexCoords;
out vec4 Color;

void main()
{
    TexCoords = aTexCoords;
    Color = aColor;
    vec2 ndc = vec2(aPos.x / windowSize.x * 2.0 - 1.0, 1.0 - aPos.y / windowSize.y * 2.0);
    gl_Position = vec4(ndc, 0.0, 1.0);
}
