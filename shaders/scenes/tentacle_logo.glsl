#version 330 core
// The small logo over the tentacles: rows of the image jitter sideways on beats (`lerp3`), its
// alpha breathes with time, a vertical gradient brightens it toward the top, and the light
// pulse (`lightAdd`) and the jitter make it more opaque.
in vec2 TexCoords;

uniform sampler2D texChannel0;
uniform vec2 resolution;
uniform float time;
uniform float lerp3;
uniform float lightAdd;

out vec4 FragColor;

float rowHash(vec2 v)
{
    return fract(sin(dot(v, vec2(12.9898, 78.233))) * 43758.5453);
}

void main()
{
    const float k = 3.141692;
    vec2 uv = gl_FragCoord.xy / resolution;
    float row = floor(uv.y * 192.0) / 192.0;
    float jitter = rowHash(vec2(row + time, row + time)) * lerp3 * 0.0075125;
    vec2 tc = vec2(fract(TexCoords.x + jitter), TexCoords.y);
    vec4 t = texture(texChannel0, tc);
    t.a = clamp(t.a + sin(k * time + uv.x) * cos(1.3 * k * time + uv.y) * 0.2, 0.0, 1.0);
    t.rgb += vec3(mod(uv.y, 1.0));
    FragColor = t * vec4(t.rgb, 0.5 + 0.5 * lightAdd + 4.0 * jitter);
}
