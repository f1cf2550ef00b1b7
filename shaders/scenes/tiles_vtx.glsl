#version 330 core
// Tile mesh vertex stage. Each vertex carries its corner offset from the tile centre, its
// texture coordinate with the tile's life value, and the tile index with the tile centre.
// Exploding tiles spin about all three axes, the vertex taken as a row vector through each
// turn in x, y, z order. Adding the centre with w = 1 leaves w at 2, so after the divide the
// tile's own coordinates count half while the model translation counts in full.
layout (location = 0) in vec3 aPos;
layout (location = 1) in vec3 aTexCoord;
layout (location = 2) in vec3 vertexData;

uniform mat4 MVP;
uniform float time;
uniform bool exploding;

out vec2 TexCoords;
out float life;

mat4 turnX(float a)
{
    return mat4(vec4(1.0, 0.0, 0.0, 0.0), vec4(0.0, cos(a), -sin(a), 0.0),
                vec4(0.0, sin(a), cos(a), 0.0), vec4(0.0, 0.0, 0.0, 1.0));
}

mat4 turnY(float a)
{
    return mat4(vec4(cos(a), 0.0, sin(a), 0.0), vec4(0.0, 1.0, 0.0, 0.0),
                vec4(-sin(a), 0.0, cos(a), 0.0), vec4(0.0, 0.0, 0.0, 1.0));
}

mat4 turnZ(float a)
{
    return mat4(vec4(cos(a), -sin(a), 0.0, 0.0), vec4(sin(a), cos(a), 0.0, 0.0),
                vec4(0.0, 0.0, 1.0, 0.0), vec4(0.0, 0.0, 0.0, 1.0));
}

void main()
{
    TexCoords = aTexCoord.xy;
    life = aTexCoord.z;
    float k = vertexData.x;
    vec4 vertex = vec4(aPos.x, aPos.y, 0.0, 1.0);
    if (exploding) {
        float ax = (time + k) * time;
        float ay = (0.5 * time + k) * time;
        float az = (0.25 * time + k) * time;
        vertex = vertex * turnX(ax);
        vertex = vertex * turnY(ay);
        vertex = vertex * turnZ(az);
    }
    vertex = vertex + vec4(vertexData.y, vertexData.z, 0.0, 1.0);
    if (exploding) {
        vertex = vertex * vec4(life, life, life, 1.0);
    }
    gl_Position = MVP * vertex;
}
