// Cellular (Voronoi) noise on a jittered square grid.
// Provides: voronoi2 (x: distance to the nearest feature point, y: to the second nearest,
// z: a hash in [0, 1) of the nearest point's cell).
// Expects: hash12 and hash22 (basic.glsl).

vec3 voronoi2(vec2 p)
{
    vec2 cell = floor(p);
    vec2 f = fract(p);
    float nearest = 8.0;
    float second = 8.0;
    float id = 0.0;
    for (int j = -1; j <= 1; ++j) {
        for (int i = -1; i <= 1; ++i) {
            vec2 g = vec2(float(i), float(j));
            vec2 r = g + hash22(cell + g) - f;
            float d = dot(r, r);
            if (d < nearest) {
                second = nearest;
                nearest = d;
                id = hash12(cell + g);
            } else if (d < second) {
                second = d;
            }
        }
    }
    return vec3(sqrt(nearest), sqrt(second), id);
}
