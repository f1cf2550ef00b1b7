// Turning points about the coordinate axes and about any axis.
// Provides: rotateX, rotateY, rotateZ (the two other coordinates (u, v) become
// (u cos a + v sin a, -u sin a + v cos a): y,z for x; x,z for y; x,y for z), axisRotation
// (right-handed matrix about a normalised axis).
// Expects: rot2 (raymarchingtools.glsl).

vec3 rotateX(vec3 p, float a)
{
    return vec3(p.x, rot2(p.yz, a));
}

vec3 rotateY(vec3 p, float a)
{
    vec2 xz = rot2(p.xz, a);
    return vec3(xz.x, p.y, xz.y);
}

vec3 rotateZ(vec3 p, float a)
{
    return vec3(rot2(p.xy, a), p.z);
}

// Right-handed rotation by `angle` radians about `axis` (normalised here).
mat3 axisRotation(vec3 axis, float angle)
{
    vec3 a = normalize(axis);
    float s = sin(angle);
    float c = cos(angle);
    float oc = 1.0 - c;
    return mat3(oc * a.x * a.x + c, oc * a.x * a.y + a.z * s, oc * a.z * a.x - a.y * s,
                oc * a.x * a.y - a.z * s, oc * a.y * a.y + c, oc * a.y * a.z + a.x * s,
                oc * a.z * a.x + a.y * s, oc * a.y * a.z - a.x * s, oc * a.z * a.z + c);
}
