// The meta cubes' distance field, pulled into meta.glsl: three tumbling Menger sponges and two
// rounded cubes on their own orbits, melted together by a polynomial smooth union. Every value
// comes in as an argument (part time, its quarter tau, the screen aspect), so the field can be
// probed on its own. Declares no uniforms.

// Entry offsets by part time: x for sponge 1 (rises 0 to 1 between 2.5 and 3 s), y for sponge 2
// and z for sponge 3 (fall 1 to 0 between 2 and 2.5 s).
vec3 metaEntryOffsets(float partTime)
{
    float rising = clamp(2.0 * partTime - 5.0, 0.0, 1.0);
    float falling = clamp(5.0 - 2.0 * partTime, 0.0, 1.0);
    return vec3(rising, falling, falling);
}

// Rotation by `angle` about the unit `axis` (Rodrigues form, column-vector convention).
mat3 metaAxisRotation(vec3 axis, float angle)
{
    float c = cos(angle);
    float s = sin(angle);
    vec3 t = (1.0 - c) * axis;
    return mat3(t.x * axis.x + c, t.x * axis.y + s * axis.z, t.x * axis.z - s * axis.y,
                t.y * axis.x - s * axis.z, t.y * axis.y + c, t.y * axis.z + s * axis.x,
                t.z * axis.x + s * axis.y, t.z * axis.y - s * axis.x, t.z * axis.z + c);
}

// How an object at `centre` is turned at local time `tau`: about an axis that depends on where
// the object is, so each object tumbles its own way.
mat3 metaTurn(vec3 centre, float tau)
{
    return metaAxisRotation(normalize(sin(vec3(2.0) + centre)), tau);
}

// The point in the frame of an object at `centre` turned by `turn`: row vector times matrix.
vec3 metaInFrame(vec3 p, vec3 centre, mat3 turn)
{
    return (p - centre) * turn;
}

// Eight folds of the Menger sponge of half-size 1: mirror into the positive octant, sort the
// components descending, scale by 3 about the corner and fold the middle third back; the box
// distance at the end, scaled back down with a safety factor of 0.6.
float metaSponge(vec3 q)
{
    for (int i = 0; i < 8; i++) {
        q = abs(q);
        if (q.x < q.y) q.xy = q.yx;
        if (q.x < q.z) q.xz = q.zx;
        if (q.y < q.z) q.zy = q.yz;
        q = 3.0 * q - 2.0;
        if (q.z < -1.0) q.z += 2.0;
    }
    vec3 d = abs(q) - vec3(1.0);
    float box = min(max(d.x, max(d.y, d.z)), 0.0) + length(max(d, 0.0));
    return box * 0.6 * pow(3.0, -8.0);
}

// A cube of half-size 0.7 with its edges rounded by 0.2.
float metaRoundedCube(vec3 q)
{
    return length(max(abs(q) - 0.7, 0.0)) - 0.2;
}

// Polynomial smooth minimum: equal to min(a, b) once they differ by k or more, and up to k / 4
// below it where they meet.
float metaSmoothMin(float a, float b, float k)
{
    float h = clamp(0.5 + 0.5 * (b - a) / k, 0.0, 1.0);
    return mix(b, a, h) - k * h * (1.0 - h);
}

// Centres of the five objects at local time tau with the entry offsets: index 0 to 4 are
// sponge 1, sponge 2, cube 1, cube 2, sponge 3.
vec3 metaObjectCentre(int index, float tau, vec3 offsets)
{
    if (index == 0) return vec3(offsets.x + 2.2 + 0.2 * sin(0.6 * tau), 2.8 * cos(tau), 0.3);
    if (index == 1) return vec3(offsets.y + 3.3 * sin(0.8 * tau), 0.5, 0.0);
    if (index == 2) return vec3(-2.0, 2.4 * sin(0.2 * tau), 3.0 * cos(1.1 * tau));
    if (index == 3) return vec3(-0.4 * sin(1.2 * tau), 1.0, 2.2 * cos(0.8 * tau));
    return vec3(0.5, 2.4 * sin(0.2 * tau) + offsets.z, 3.0 * cos(1.1 * tau));
}

// Where the five objects are and how they are turned at one part time: the same for every
// point of a frame, so a pixel works it out once instead of at every step of its march.
struct MetaPose {
    vec3 centre[5];
    mat3 turn[5];
};

MetaPose metaPoseAt(float partTime)
{
    float tau = 0.25 * partTime;
    vec3 offsets = metaEntryOffsets(partTime);
    MetaPose pose;
    for (int i = 0; i < 5; i++) {
        pose.centre[i] = metaObjectCentre(i, tau, offsets);
        pose.turn[i] = metaTurn(pose.centre[i], tau);
    }
    return pose;
}

// The whole field at `p` for objects posed by `pose`; x is stretched by the screen aspect
// first, so the group keeps its shape on the square render target that the wide window
// stretches again. Start with sponge 1 and blend in the others in order.
float metaPosedDistance(vec3 p, MetaPose pose, float aspect)
{
    p.x *= aspect;
    float d = metaSponge(metaInFrame(p, pose.centre[0], pose.turn[0]));
    d = metaSmoothMin(d, metaSponge(metaInFrame(p, pose.centre[1], pose.turn[1])), 0.8);
    d = metaSmoothMin(d, metaRoundedCube(metaInFrame(p, pose.centre[2], pose.turn[2])), 0.8);
    d = metaSmoothMin(d, metaRoundedCube(metaInFrame(p, pose.centre[3], pose.turn[3])), 0.8);
    return metaSmoothMin(d, metaSponge(metaInFrame(p, pose.centre[4], pose.turn[4])), 0.8);
}

float metaSceneDistance(vec3 p, float partTime, float aspect)
{
    return metaPosedDistance(p, metaPoseAt(partTime), aspect);
}
