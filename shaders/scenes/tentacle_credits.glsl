#version 330 core
// A credits image: the texel squared (darker mid-tones), its alpha scaled by `calpha`.
in vec2 TexCoords;

uniform sampler2D texChannel0;
uniform float calpha;

out vec4 FragColor;

void main()
{
    vec4 t = texture(texChannel0, TexCoords);
    FragColor = vec4(t.rgb * t.rgb, t.a * calpha);
}
