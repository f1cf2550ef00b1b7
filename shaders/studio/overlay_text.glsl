// The studio's overlay text: the glyph atlas's coverage times the quad's colour. Boxes sample
// a texel of the atlas that is fully covered.
#version 330 core
in vec2 TexCoords;
in vec4 Color;

uniform sampler2D atlas;

out vec4 fragColor;

void main()
{
    fragColor = vec4(Color.rgb, Color.a * texture(atlas, TexCoords).r);
}
