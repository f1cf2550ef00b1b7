// The marching loop shared by the ray-marched scenes, and the surface normal.
// Provides: rayMarch (distance and object id of the first hit), calcNormal, normalAxis,
// calcNormalWhereHit.
// Expects: the generated lines above it (rayMarchIterations, stepSize, clipNear, clipFar,
// iterationsCount) and, from the scene file, `vec2 map(vec3 p)` returning (distance, object
// id); it is declared here so the loop can call it. A map may also update globals of its
// own (a glow accumulator, for instance) on every call.

vec2 map(vec3 p);

// Marches from ro along rd: each step advances stepSize x distance; stops when the distance
// drops below clipNear (a hit) or the travelled length exceeds clipFar (a miss), or after
// rayMarchIterations steps. Returns (travelled length, id of the last object seen) and leaves
// the number of distance evaluations in iterationsCount.
vec2 rayMarch(vec3 ro, vec3 rd)
{
    float t = 0.0;
    float id = -1.0;
    iterationsCount = 0;
    for (int i = 0; i < rayMarchIterations; ++i) {
        vec2 h = map(ro + rd * t);
        // Each step starts with an evaluation and may stop on it, so the stopping one counts too.
        iterationsCount++;
        id = h.y;
        if (h.x < clipNear || t > clipFar)
            break;
        t += stepSize * h.x;
    }
    return vec2(t, id);
}

// Normal by central differences of the distance field, offset 0.005.
vec3 calcNormal(vec3 p)
{
    const vec2 e = vec2(0.005, 0.0);
    return normalize(vec3(map(p + e.xyy).x - map(p - e.xyy).x,
                          map(p + e.yxy).x - map(p - e.yxy).x,
                          map(p + e.yyx).x - map(p - e.yyx).x));
}

// The axis of calcNormal's sample `index`, in its order: +x, -x, +y, -y, +z, -z. Worked out,
// not looked up: the software rasteriser reads an array at a per-pixel index one pixel at a
// time. For normals taken in a loop, one sample a turn.
vec3 normalAxis(int index)
{
    float sign = (index & 1) == 0 ? 1.0 : -1.0;
    int axis = index >> 1;
    return vec3(axis == 0 ? sign : 0.0, axis == 1 ? sign : 0.0, axis == 2 ? sign : 0.0);
}

// calcNormal's six samples as the turns of a loop, one a turn, that a block of pixels which all
// missed leaves after the first: a picture's sky skips five samples there. The same bits as
// calcNormal where a pixel hit; worth it only where whole blocks miss.
vec3 calcNormalWhereHit(vec3 p, bool missed)
{
    vec3 gradient = vec3(0.0);
    for (int index = 0; index < 6; ++index) {
        if (missed)
            break;
        vec3 axis = normalAxis(index);
        gradient += axis * map(p + 0.005 * axis).x;
    }
    return normalize(gradient);
}
