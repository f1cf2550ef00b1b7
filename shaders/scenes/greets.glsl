// The greetings parts' ray-marcher: a kaleidoscopic structure of spheres and bars, folded
// seven times in four components (the fourth tracks the scale), with a second, carved copy of
// the shape, roughened by value noise. Every distance evaluation feeds a glow accumulator, so
// the picture is mostly light gathered near the surfaces: red that warms toward white, under
// a dark blue veil, blue light bands, red fog and lit mist, dust specks, a lens flare at
// (flare_x, flare_y), exposure, vignette and the filmic tone curve. Alpha carries a small
// march-effort value.
// Defines `map` for the marching loop. Uses the shared uniforms of basic.glsl (miscData[0..4]
// are the camera target and its orbit coordinates) and the dust's camera and turns of
// this frame (dust_turns_header.glsl) only.
// Artistic choices where the picture is not pinned down: the folds turn with rot2's sense, the
// glow measures the folded point against the sphere of the first shape in folded units, the
// mist jitter is a 2 % pixel hash, the dust swirls like the tentacle part's, and the flare's
// starburst is two sets of thin spikes around a soft core.

const vec3 fogColour = vec3(0.3, 0.01, 0.08);
const vec3 veilColour = vec3(0.0, 0.0, 0.1);
const float cameraDistance = 12.0;

// Light gathered by every evaluation of the distance field for the current pixel.
float glowSum = 0.0;

// How much the value noise roughens the structure: a per-frame value, set once per pixel in
// main instead of at every evaluation of the field.
float roughness;

// A sphere of radius 0.4 mirrored to x = +-2, and a bar along x; `a` thickens the bar in y.
float sphereTerm(vec3 x)
{
    return length(abs(x) - vec3(2.0, 0.0, 0.0)) - 0.4;
}

float barShape(vec3 x, float a)
{
    return min(sphereTerm(x), boxMaxNorm(x, vec3(2.0, 0.4 + a, 0.4)));
}

float structureDistance(vec3 p)
{
    vec4 q = vec4(0.1 * p, 1.0);
    for (int i = 0; i < 7; ++i) {
        q.xyz = abs(q.xyz) - vec3(1.6, 0.0, 0.8);
        // rot2's turn and the 1.4 scale in one step: the scale rides on the turn's constant
        // cosine and sine, two products fewer per fold (equal up to rounding).
        float a = 1.57 + 0.785 * float(i);
        float scaledCos = 1.4 * cos(a);
        float scaledSin = 1.4 * sin(a);
        q.xz = vec2(q.x * scaledCos + q.z * scaledSin, -q.x * scaledSin + q.z * scaledCos);
        q.yw *= 1.4;
        if (i == 2) {
            q.xyz = abs(q.xyz) - vec3(1.5, 2.5, 2.5);
            q.xy = rot2(q.xy, 2.355);
        }
    }
    vec4 s = q;
    s.xz += 1.2;
    q.y = abs(q.y) - 4.0;
    s.y = abs(s.y) - 4.0;

    float e = sphereTerm(q.xyz);
    glowSum += 0.1 / (0.1 + e * e);

    float first = barShape(q.xyz, 0.0) / (0.1 * q.w);
    float carve = -boxMaxNorm(abs(s.xyz - vec3(2.0, 0.0, 0.0)) - vec3(0.0, 2.0, 0.0), vec3(1.1));
    float second = max(barShape(s.xyz, 4.0) / (0.1 * s.w), carve);
    return min(first, second);
}

// The lattice cell of the last noise lookup and its corner values. Successive evaluations of a
// march often fall in the same cell. The rasteriser runs both sides of an `if`, but it leaves a
// loop once no pixel of its block is still in it: so the corners are hashed one a turn, and a
// block of pixels that all stayed in their cells leaves after the first.
vec3 noiseCell = vec3(1e30);
vec4 noiseLow, noiseHigh;

float cellCachedNoise(vec3 p)
{
    vec3 cell = floor(p);
    bool moved = any(notEqual(cell, noiseCell));
    for (int k = 0; k < 8; k++) {
        if (!moved)
            break;
        float h = valueNoiseCorner(cell, k);
        noiseLow = vec4(k == 0 ? h : noiseLow.x, k == 1 ? h : noiseLow.y, k == 2 ? h : noiseLow.z, k == 3 ? h : noiseLow.w);
        noiseHigh = vec4(k == 4 ? h : noiseHigh.x, k == 5 ? h : noiseHigh.y, k == 6 ? h : noiseHigh.z, k == 7 ? h : noiseHigh.w);
    }
    noiseCell = cell;
    return valueNoiseBlend(noiseLow, noiseHigh, fract(p));
}

vec2 map(vec3 p)
{
    p.x *= screenAspect;
    p.y = abs(p.y - 3.0) - 11.0;
    float d = structureDistance(p);
    d = mix(d, d + 0.6 / 4.5 * cellCachedNoise(4.5 * p), roughness);
    return vec2(d, 0.0);
}

// x^5 in three products: the fixed powers below square it on (pow takes a logarithm and an
// exponential, and gives the same up to rounding).
float fifthPower(float x)
{
    float x2 = x * x;
    return x2 * x2 * x;
}

vec3 shadeHit(vec3 p, vec3 rd, float t)
{
    // Written out, not as a loop that a block of missed pixels could leave: the greets' pixels
    // mostly hit, and a loop costs its turns' bookkeeping where they do.
    vec3 n = calcNormal(p);
    vec3 l = normalize(vec3(1.0));
    float h = t / 50.0;
    float o = exp(-pow(max(0.0, 1.0 - map(p + n * h).x / h), 2.0));
    float s = fifthPower(max(0.0, dot(reflect(-l, n), -rd)));
    s *= s;
    float f = dot(rd, n) + 1.0;
    f *= f;
    f *= f * f;
    return (vec3(0.7, 0.9, 1.0) * s * s + vec3(0.1, 0.2, 0.3) * f) * o;
}

// Bands of blue light sweeping through space: along y and z in the first greeting, along x after.
vec3 lightBands(vec3 p, float t)
{
    float y = partTime < 12.5 ? mod(p.y + partTime, 4.0) + p.z + partTime : mod(p.x + partTime, 4.0);
    float band = smoothstep(0.0, 0.5, y) * smoothstep(-0.5, 0.0, -y);
    return pow(t, 0.3) * vec3(0.0, 1.25 * lightAdd, 2.0 * lightAdd) * band;
}

vec3 floatingDust(vec2 uv)
{
    vec3 eye, ray, straightEye;
    dustCamera(uv, eye, ray, straightEye);
    // As the tentacles: the stop is the dust eye's distance from its unwound place, not the marched length.
    float specks = dustLayers(eye, ray, 5, length(straightEye - eye));
    float facing = pow(max(0.0, dot(ray, normalize(vec3(-0.2, 0.2, 0.5)))), 5.0);
    return specks * mix(vec3(0.7, 0.2, 0.1), vec3(1.0, 0.7, 0.2), facing);
}

// Thin spikes around the flare point and a soft bright core.
vec3 flareBurst(vec2 d)
{
    float r = length(d);
    float a = atan(d.y, d.x);
    // |cos|^40 and |cos|^80: fifth powers squared three and four times.
    float six = fifthPower(abs(cos(6.0 * a)));
    six *= six;
    six *= six;
    six *= six;
    float four = fifthPower(abs(cos(4.0 * a + 0.4)));
    four *= four;
    four *= four;
    four *= four;
    four *= four;
    float spikes = six + 0.6 * four;
    vec3 burst = vec3(1.0, 0.85, 0.7) * spikes * 0.04 / (r + 0.05);
    vec3 core = vec3(1.0, 0.9, 0.8) * (exp(-r * 40.0) * 2.5 + exp(-r * 8.0) * 0.4);
    return burst + core;
}

vec3 lensFlare(vec2 uv)
{
    vec2 centre = vec2(flare_x, flare_y);
    return (flareGhostRings(uv, centre) + flareBurst(uv - centre)) * flareFalloff(uv, centre);
}

void main()
{
    vec3 target = vec3(miscData[0], miscData[1], miscData[2]);
    vec3 eye = orbitCamera(target, cameraDistance, vec2(miscData[3], miscData[4]));
    vec3 rd = lookAtRay(eye, target, aspectUv(), 1.0 / 1.5);
    vec2 uv = centredUv();

    glowSum = 1.0 + 2.5 * lightAdd;
    roughness = 0.15 + 0.075 * sin(PI * partTime / 2.0);
    float t = rayMarch(eye, rd).x;
    float steps = float(iterationsCount);
    vec3 p = eye + t * rd;

    vec3 colour = t < clipFar ? shadeHit(p, rd, t) : vec3(0.0);
    float g = glowSum;
    colour += 0.06 * vec3(partTime / 16.0 + 1.0 + 0.05 * g, 0.01 * g, 0.0) * g * g;
    colour = mix(colour, veilColour, 1.0 - exp((0.15 * sin(PI * partTime / 2.0) - 0.2) * t));
    colour += lightBands(p, t);

    float fog = fogAmount(t);
    colour = mix(fogColour, colour, fog);
    vec3 lightPosition = eye + vec3(0.0, 0.0, 2.0);
    float mist = mistAlongRay(eye, rd, t, lightPosition, songPosition);
    mist = clamp(mist + 0.02 * (hash12(gl_FragCoord.xy + fract(time)) - 0.5), 0.0, 1.0);
    colour = mistBlend(colour, fogColour, rd, normalize(lightPosition - eye), mist, fog);

    colour += floatingDust(uv);
    colour += lensFlare(uv);

    colour = 1.0 - exp(-0.1 * colour);
    colour = pow(abs(colour), vec3(0.45));
    colour = lensVignette(colour, aspectUv(), 1.65);
    colour = filmicToneMap(colour, 2.0, 3.0);
    fragColor = vec4(clamp(colour, 0.0, 1.0), 0.25 * clamp(steps / 200.0 - 0.125, 0.01, 0.6));
}
