// The abstract worlds part. Until part time 28 the camera sinks from high above onto a dark,
// glossy, rolling ground over which six thin glowing strips wind and lengthen, lit by two
// moving point lights, with a cloudy sky and a crescent moon from 8 s; from 28 s the world
// turns about the vertical axis, the lights turn blue and a growing grid of glowing cube
// columns scrolls up out of the ground while the camera drifts up and away. Alpha carries
// the march effort, the light mask of the light-shaft pass that follows.
// Assembled by ShaderSourceBuilder after basic, gamma, materials, raymarchingtools,
// raymarching, light, axis_rotation, simplex_noise, cheap_fog, dust_turns_header, mist (with
// the polynomial sines of turn_trig), voronoi and texture_noise; reads the shared uniforms
// declared in basic.glsl and the dust's camera and turns (dust_turns_header.glsl), and
// declares none itself.

const float PHASE_CHANGE = 28.0;
const vec3 FOG_COLOUR = vec3(0.6, 0.3, 0.2);

// Which world the program draws: the part builds one program with SECOND_PHASE defined and
// uses it from t = 28 on, so each program's field holds only its own phase's terms.
#ifdef SECOND_PHASE
const bool secondPhase = true;
#else
const bool secondPhase = false;
#endif

// Set once per pixel in main, read by the distance field.
float sceneTime;      // part time t
float descentTime;    // t3 = clamp(t, 0, 28): how far the phase-1 world has moved along z
float phaseTime;      // t - 28 (negative in phase 1)
vec2 worldTurn;       // (cos, sin) of the phase-2 turn of the world, 0.0625 (t - 28)

// ---- Ground -------------------------------------------------------------------------------

float tri(float x)
{
    return abs(fract(x) - 0.5);
}

float tri2(vec2 q)
{
    return tri(q.x + tri(1.5 * (q.y - 0.25))) + tri(q.y - tri(1.5 * (q.x + 0.5)));
}

float softTri(float x)
{
    return 0.25 + 0.25 * cosOfTurns(x);
}

float soft2(vec2 q)
{
    return softTri(q.x + softTri(1.5 * (q.y - 0.25))) + softTri(q.y - softTri(1.5 * (q.x + 0.5)));
}

float smoothRamp(float x)
{
    float s = max((x - 0.3) / 0.7, 0.0);
    return s * s * (3.0 - 2.0 * s);
}

float terrain(vec3 p)
{
    float h = soft2(p.xz / 16.0) * 0.66 + soft2(p.xz / 8.0) * 0.34;
    return smoothRamp(h) * 0.85 + tri2(p.xz / 2.0) * 0.13 + tri2(2.0 * p.xz) * 0.02;
}

float ground(vec3 p)
{
    return p.y + (0.125 - terrain(p)) * 1.8;
}

// ---- Strips -------------------------------------------------------------------------------

// A thin strip of half length `len` whose centre winds with q.z.
float strip(vec3 q, vec3 centre, float len)
{
    return sdChebyshevBox(q, centre, vec3(0.02, 0.02, len));
}

float strip1(vec3 q, float k)
{
    return strip(q, vec3(0.5 * cosOf(q.z), 0.5 * sinOf(q.z + q.x), 0.0), 3.5 + k);
}

float strip2(vec3 q, float k)
{
    return strip(q, vec3(0.6 * cosOf(q.z + 1.5 + q.x), 0.3 * sinOf(q.z + 1.0), 0.0), 3.0 + k);
}

float strip3(vec3 q, float k)
{
    return strip(q, vec3(0.4 * sinOf(q.z + q.y), 0.5 * cosOf(q.z + q.x), 0.0), 4.0 + k);
}

float strip4(vec3 q, float k)
{
    return strip(q, vec3(0.5 * sinOf(q.z + 1.5 + q.x), 0.6 * cosOf(q.z + 1.5), 0.0), 2.0 + k);
}

// The turn of the two far strips: half a turn about z, half a turn about y, then 90 rad about y.
vec3 farStripTurn(vec3 q)
{
    return rotateY(rotateY(rotateZ(q, 3.1415), 3.1415), 90.0);
}

// The same turn as one matrix: the turned axes, constants of the compiled pass. Both far strips
// turn the same offset point and scale it after (a turn commutes with a scale, up to rounding).
mat3 farStripTurnMatrix()
{
    return mat3(farStripTurn(vec3(1.0, 0.0, 0.0)), farStripTurn(vec3(0.0, 1.0, 0.0)),
                farStripTurn(vec3(0.0, 0.0, 1.0)));
}

float strips(vec3 p)
{
    vec3 lowered = vec3(0.0, 0.5, 0.0);
    float k = secondPhase ? phaseTime / 4.0 : sceneTime;
    float kFar = secondPhase ? phaseTime : sceneTime;
    vec3 offset = secondPhase ? vec3(0.236, -1.024, -1.969) : vec3(-2.205, -0.945, 1.575);
    float d = strip1(p * 0.9 - lowered, k);
    d = min(d, strip2(p * 0.8 - lowered, k));
    d = min(d, strip3(p * 0.5 - lowered, k));
    d = min(d, strip4(p - lowered, k));
    vec3 far = farStripTurnMatrix() * (p + offset);
    d = min(d, strip4(far * 1.2, kFar));
    return min(d, strip1(far * 0.72, kFar));
}

// ---- Phase 2: cube stacks and pillars -----------------------------------------------------

// The last cell index of the cube-stack grid on each axis: the grid grows from one cell to
// three per axis as the part goes on.
float cubeStackLastCell(float t)
{
    if (t < 32.554)
        return 0.0;
    if (t < 34.283)
        return 1.0;
    return 2.0;
}

// Columns of small cubes, one every 1.0 in height, scrolling upward, with the band |q.y| < 0.9
// of each cell cut away.
float cubeStacks(vec3 q, float t)
{
    float last = cubeStackLastCell(t);
    pModInterval1(q.x, 3.0, 0.0, last);
    pModInterval1(q.z, 3.0, 0.0, last);
    vec3 s = rotateY(q, 90.0);
    s.y -= 0.5 * (t - PHASE_CHANGE);
    pMod1(s.y, 1.0);
    float column = sdBox(s, vec3(0.39, 0.385, 0.39));
    return opDifference(sdBox(q, vec3(1.0, 0.9, 1.0)), column);
}

// The inner box minus the outer one is never solid: the term shows nothing, but near the
// shells it still shortens the march steps (and so raises the step count that alpha shows).
float pillars(vec3 q, float t)
{
    pModInterval1(q.x, 4.0, 0.0, 6.0);
    pModInterval1(q.z, 4.0, 0.0, 6.0);
    float h = 0.5 * (t - 30.0);
    return opDifference(sdBox(q, vec3(0.26, h, 0.26)), sdBox(q, vec3(0.2, h - 0.05, 0.2)));
}

// ---- The whole field ----------------------------------------------------------------------

vec2 map(vec3 p)
{
    p.x *= screenAspect;
    if (secondPhase)
        p = vec3(p.x * worldTurn.x + p.z * worldTurn.y, p.y, -p.x * worldTurn.y + p.z * worldTurn.x);
    vec2 d = vec2(ground(p), MATERIAL_GROUND);
    d = opUnion(d, vec2(strips(p), MATERIAL_STRIP));
    if (secondPhase) {
        vec3 q = p + vec3(miscData[7], miscData[8], miscData[5]);
        d = opUnion(d, vec2(cubeStacks(q, sceneTime), MATERIAL_CUBE));
        d = opUnion(d, vec2(pillars(q, sceneTime), MATERIAL_CUBE));
    }
    return d;
}

// ---- Camera and lights --------------------------------------------------------------------

vec3 cameraPosition(float t)
{
    if (t >= PHASE_CHANGE)
        return vec3(miscData[9], miscData[0] + 0.25 * (t - PHASE_CHANGE), miscData[10] + 0.45 * (t - PHASE_CHANGE));
    float height = t < 2.5 ? 26.0 : clamp(26.0 - (t - 2.5) * 2.5, 1.85, 100.0);
    return vec3(4.0 * cos(0.5 * t), height, 4.0 * cos(0.25 * t) + descentTime);
}

void sceneLights(float t, out PointLight lights[LIGHTS])
{
    float along = secondPhase ? 0.0 : descentTime;
    lights[0] = PointLight(vec3(2.0, 1.28, 6.5 * cos(PI * t / 16.0) + along), vec3(0.6, 0.7, 1.0), 2.06);
    vec3 warm = secondPhase ? vec3(0.1, 0.2, 0.9) : vec3(0.9, 0.2, 0.1);
    lights[1] = PointLight(vec3(2.0 * sin(-0.35 * PI * t), 1.75, 6.0 * sin(PI * t / 16.0) + along), warm, 3.25);
}

// ---- Surface colour -----------------------------------------------------------------------

float cellHash(vec2 q)
{
    return fract(sin(1.0 + dot(q, vec2(127.1, 311.7))) * 43758.5453123);
}

// A sawtooth pulse train: zero where sin(x' - asin s) stays below s, else a ramp that falls
// from 1 to 0 across the lit span; x' = pi (x d + 0.5 time + shift).
float saw(float x, float d, float s, float shift)
{
    float xp = PI * (x * d + 0.5 * time + shift);
    float a = asin(s);
    float train = 0.5 * sign(sin(xp - a) - s) + 0.5;
    float range = PI - 2.0 * a;
    return train * mod(-(mod(xp, TAU) - 2.0 * a), range) / range;
}

// The glow-stripe colour of cubes, pillars and strips: bands along y that shimmer with time,
// lit by the beat (lightAdd), chopped along z by a sawtooth whose phase differs per 6 x 6 cell.
vec3 glowStripeColour(vec3 p)
{
    float g = 1.0 - (0.5 + 0.5 * sin(10.0 * p.y + time) * cos(10.0 * p.y + time));
    vec3 base = vec3(0.0, clamp(0.75 * g * lightAdd, 0.0, 1.0), 1.3 * g * lightAdd);
    return base * 4.0 * saw(8.0 * p.z, 0.092, 0.77, 8.5 * cellHash(floor((p.xy + 3.0) / 6.0)));
}

vec3 surfaceColour(vec3 p, float id)
{
    if (isMaterial(id, MATERIAL_GROUND))
        return vec3(0.0);
    vec3 glow = glowStripeColour(p);
    if (isMaterial(id, MATERIAL_STRIP))
        return vec3(glow.b * 1.4, glow.g, glow.r);
    return glow;
}

// ---- Sky ----------------------------------------------------------------------------------

// Cloud layers stacked above the world at a height that breathes slowly; each layer's density
// is six octaves of value noise on its plane, drifting 10 units a second, blended front to
// back over a dusk gradient that greys toward the horizon. Chosen for soft, layered clouds.
vec3 cloudSky(vec3 ro, vec3 rd)
{
    float up = max(rd.y, 0.0);
    vec3 sky = mix(0.5 * vec3(0.15, 0.2, 0.4), 0.5 * vec3(0.25, 0.5, 0.7), sqrt(up));
    if (rd.y > 0.01) {
        float base = 55.0 + 30.0 * sin(PI * time / 8.0);
        float cover = 0.0;
        vec3 clouds = vec3(0.0);
        for (int i = 0; i < 22; ++i) {
            float layer = float(i);
            vec3 q = ro + rd * ((base + 2.0 * layer - ro.y) / rd.y);
            vec2 plane = (q.xz + vec2(10.0 * time, 0.0)) * 0.012 + vec2(0.0, 0.37 * layer);
            float density = smoothstep(0.5, 0.8, fbmValue2(plane, 6)) * 0.18;
            vec3 shade = mix(0.5 * vec3(0.25, 0.5, 0.7), vec3(0.75, 0.8, 0.9), layer / 21.0);
            clouds += (1.0 - cover) * density * shade;
            cover += (1.0 - cover) * density;
        }
        sky = sky * (1.0 - cover) + clouds;
    }
    return mix(sky, vec3(0.35, 0.35, 0.38), pow(1.0 - up, 6.0));
}

float crescentMoon(vec2 uv)
{
    vec2 m = vec2(0.75, 0.65);
    float disc = smoothstep(0.95, 0.956, 1.0 - length(uv - m));
    float shadow = smoothstep(0.93, 0.956, 1.0 - length(uv - m - vec2(0.015, 0.0)));
    return clamp(disc - shadow, 0.0, 1.0) + 0.8 * smoothstep(0.80, 0.956, 1.0 - length(uv - m));
}

// ---- Picture ------------------------------------------------------------------------------

vec3 lensFlare(vec2 uv, vec2 point)
{
    float r = length(uv - point);
    vec3 core = 0.24 / pow(2.0 * r, 1.0 / 2.6) * 3.0 * vec3(0.2, 0.21, 0.3) * 4.0;
    return (flareGhostRings(uv, point) + core) * flareFalloff(uv, point);
}

vec3 dust(vec2 uv, vec3 hitPoint)
{
    vec3 eye, ray, straightEye;
    dustCamera(uv, eye, ray, straightEye);
    return dustLayers(eye, ray, 10, length(hitPoint - eye)) * vec3(0.1);
}

void main()
{
    sceneTime = partTime;
    descentTime = clamp(sceneTime, 0.0, PHASE_CHANGE);
    phaseTime = sceneTime - PHASE_CHANGE;
    // The same for every march step of the frame: worked out once, not at each step.
    worldTurn = vec2(cos(0.0625 * phaseTime), sin(0.0625 * phaseTime));

    vec2 uv = aspectUv();
    vec3 ro = cameraPosition(sceneTime);
    vec3 rd = lookAtRay(ro, vec3(0.0), uv, FOV);
    PointLight lights[LIGHTS];
    sceneLights(sceneTime, lights);

    vec2 hit = rayMarch(ro, rd);
    float steps = float(iterationsCount);
    float len = hit.x;
    vec3 p = ro + rd * len;
    bool missed = len >= clipFar + 0.001;

    // Only hits are shaded: a missed ray ends on no surface, so it stays black and shows the fog (or sky).
    vec3 colour = vec3(0.0);
    if (!missed) {
        // The sky's blocks leave the normal's loop after one sample.
        vec3 n = calcNormalWhereHit(p, missed);
        colour = shadeLights(lights, materialFor(hit.y), surfaceColour(p, hit.y), p, n, -rd);
    }
    float fog = fogAmount(len);
    colour = mix(FOG_COLOUR, colour, fog);

    if (missed && sceneTime > 8.0 && sceneTime < PHASE_CHANGE && miscData[11] == 1.0) {
        colour = mix(colour, cloudSky(ro, rd), 1.0 - exp(-len * 0.35 * 0.35) + 0.65);
        colour += crescentMoon(uv);
    }

    float mist = mistAlongRay(ro, rd, len, lights[0].position, time);
    mist = clamp(mist + 0.1 * hash12(gl_FragCoord.xy + fract(time)) - 0.05, 0.0, 1.0);
    colour = mistBlend(colour, FOG_COLOUR, rd, normalize(lights[0].position - ro), mist, fog);

    if (isMaterial(hit.y, MATERIAL_CUBE))
        colour = clamp(mix(colour, mix(vec3(0.9, 0.4, 1.0), FOG_COLOUR, 0.5), steps / (128.0 * 3.0)), 0.0, 1.0);

    if (miscData[2] == 1.0) {
        vec2 flarePoint = secondPhase ? vec2(0.5 * ro.x, 0.5 * (ro.y - 2.0)) : vec2(0.5 * ro.x, -1.0);
        colour += lensFlare(uv, flarePoint);
    }
    colour += dust(uv, p);
    colour = lensVignette(colour, uv, 1.75);
    colour = filmicToneMap(colour, 2.0, 3.0);
    colour = clamp(gammaCorrect(colour), 0.0, 1.0);
    fragColor = vec4(colour, steps / (128.0 * (2.0 + 0.6 * sin(PI * sceneTime))));
}
