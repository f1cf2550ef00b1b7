// Lighting of the ray-marched scenes: coloured point lights with Phong terms, ambient
// occlusion from the distance field, and the pieces of a lens flare.
// Provides: struct PointLight (position, colour, strength), ambientOcclusion,
// shadePointLight, shadeLights, flareGhostRings, flareFalloff.
// Expects: LIGHTS and USE_AO (the generated lines above it), Material (materials.glsl),
// map (raymarching.glsl, defined by the scene file), hash11 (basic.glsl).

struct PointLight {
    vec3 position;
    vec3 colour;
    float strength;
};

// 0.5 + 0.5 ao, ao = 1 - clamp(sum over i = 1..5 of w (0.3 i - distance(p + 0.3 i n)), 0, 1),
// w starting at 1 and halving: creases and corners darken down to half. 1 when USE_AO is off.
float ambientOcclusion(vec3 p, vec3 n)
{
    if (!USE_AO)
        return 1.0;
    float sum = 0.0;
    float w = 1.0;
    for (int i = 1; i <= 5; ++i) {
        float h = 0.3 * float(i);
        sum += w * (h - map(p + n * h).x);
        w *= 0.5;
    }
    return 0.5 + 0.5 * (1.0 - clamp(sum, 0.0, 1.0));
}

// One light on surface point p (normal n, unit vector toEye), clamped to [0, 1]:
// (base (diffuse kd + ka) + specular ks) x colour x strength x attenuation x occlusion, where
// attenuation = min(1 / (0.225 d^2), 1) x strength falls off with the light's distance d.
vec3 shadePointLight(PointLight light, Material m, vec3 base, vec3 p, vec3 n, vec3 toEye, float occlusion)
{
    vec3 toLight = light.position - p;
    float d = length(toLight);
    vec3 l = toLight / d;
    float attenuation = min(1.0 / (0.225 * d * d), 1.0) * light.strength;
    float diffuse = max(0.0, dot(n, l));
    float specular = pow(max(0.0, dot(reflect(-l, n), toEye)), m.power);
    vec3 c = (base * (diffuse * m.kd + m.ka) + specular * m.ks) * light.colour * light.strength * attenuation;
    return clamp(c * occlusion, 0.0, 1.0);
}

// The LIGHTS lights summed, sharing one occlusion estimate.
vec3 shadeLights(PointLight lights[LIGHTS], Material m, vec3 base, vec3 p, vec3 n, vec3 toEye)
{
    float occlusion = ambientOcclusion(p, n);
    vec3 sum = vec3(0.0);
    for (int i = 0; i < LIGHTS; ++i)
        sum += shadePointLight(lights[i], m, base, p, n, toEye, occlusion);
    return sum;
}

// Ten ghost rings on the line from the flare point through the screen centre, as a camera
// lens reflects a bright light. Each ring's place on that line (from beyond the flare point
// to well past the centre) and its size come from a sine hash of its index; it is a faint
// disc with a brighter rim, coloured by cos((0.44, 0.24, 0.2) x 8 + 4 x its distance).
// uv and flarePoint are centred screen coordinates.
vec3 flareGhostRings(vec2 uv, vec2 flarePoint)
{
    vec3 sum = vec3(0.0);
    for (int i = 0; i < 10; ++i) {
        float fi = float(i);
        float along = 1.2 - 2.6 * hash11(fi * 3.17 + 1.0);
        float size = 0.03 + 0.12 * hash11(fi * 7.31 + 2.0);
        float d = length(uv - flarePoint * along);
        float disc = smoothstep(size, size * 0.8, d) * 0.25;
        float rim = exp(-abs(d - size) * 80.0) * 0.5;
        // cos(k + 4 d) by the angle sum: two sines of the pixel's own angle, not three.
        float c = cos(4.0 * d);
        float s = sin(4.0 * d);
        const vec3 k = vec3(0.44, 0.24, 0.2) * 8.0;
        vec3 colour = (cos(k) * c - sin(k) * s) * 0.5 + 0.5;
        sum += (disc + rim) * colour * 0.35;
    }
    return sum;
}

// The falloff that scales the whole flare: exp(1 - distance to the flare point) / 5.
float flareFalloff(vec2 uv, vec2 flarePoint)
{
    return exp(1.0 - length(uv - flarePoint)) / 5.0;
}
