// The tentacle part's ray-marcher: an underwater world in three sub-steps. Sub-step 0 is a
// lattice of rounded cubes drifting through blue fog; sub-step 1 melts the lattice into a
// swarm of folded, twisting shapes; sub-step 2 is a field of noisy tentacles around a column
// of twisted cubes. Over it: light bands on the surfaces, sky and light-ray fans where rays
// miss, fog, a glow that grows with the march effort, floating dust, vignette, tone curve and
// gamma. Alpha carries the march-step ratio for the depth-of-field pass.
// Defines `map` for the library's marching loop, but marches and samples each sub-step's field
// in a loop of its own: the software rasteriser runs both sides of every branch for a block of
// pixels, and only a loop that no pixel of the block enters ends early, so one shared loop
// would pay for all three fields at every step. Uses the shared uniforms of basic.glsl and the
// dust's camera and turns of this frame (dust_turns_header.glsl) only.
// Artistic choices where the picture is not pinned down: the twists turn x toward z (rot2's
// sense), "bending" turns the xy plane by a small angle that varies with height, the folds of
// the swarm use rot2's sense as well, the tentacles' noise is the library's value noise, and
// the dust layers swirl by sin(10 z + 0.2 time).

// The sub-step this program draws. The part builds one program per sub-step (TENTACLE_STEP
// defined as 0, 1 or 2), as the software rasteriser pays for every branch a block of pixels
// meets; without it the program follows the sub_step uniform and carries all three fields.
#ifdef TENTACLE_STEP
const int subStep = TENTACLE_STEP;
#else
#define subStep sub_step
#endif

const vec3 tentacleColour = vec3(0.2, 0.8, 1.0);
const vec3 fogColour = vec3(0.2, 0.4, 0.8);
const vec3 glowColour = vec3(0.2, 0.375, 0.9);
const float missedLength = 30.0005;
const float cameraDistance = 12.0;

// Values that change only from frame to frame, worked out once per pixel by setFrameValues
// instead of at every evaluation of the field.
float twistPhase;     // 0.03 time: the turn of the lattice, the column and the tentacles
float driftZ;         // 10 + 0.35 partTime: how far the lattice and the tentacles have drifted
float latticePeriod;  // the lattice's cell size, shrinking during sub-step 0
vec2 swarmTurn;       // cosine and sine of partTime, the swarm's turn in xy
float swarmDriftX;    // 0.125 partTime
float swarmShift;     // 0.5 + 0.3 sin(pi partTime / 8), the swarm's offset after its z repeat
vec3 swarmBox;        // half size of the swarm's boxes, breathing with partTime
vec3 columnOffset;    // the cube column's place, rising with partTime

void setFrameValues()
{
    twistPhase = 0.03 * time;
    driftZ = 10.0 + 0.35 * partTime;
    latticePeriod = subStep == 0 ? max(18.0 - 0.5 * partTime, 14.0) : 14.0;
    swarmTurn = vec2(cos(partTime), sin(partTime));
    swarmDriftX = 0.125 * partTime;
    swarmShift = 0.5 + 0.3 * sin(PI * partTime / 8.0);
    swarmBox = vec3(1.0, 0.125, 0.25) * (0.35 + 0.25 * sin(PI * partTime / 4.0));
    columnOffset = vec3(7.165, -17.0 + 1.25 * (partTime - 28.0), 5.181);
}

// rot2 with the cosine and sine of its angle given.
vec2 turnBy(vec2 q, vec2 cosSin)
{
    return vec2(q.x * cosSin.x + q.y * cosSin.y, -q.x * cosSin.y + q.y * cosSin.x);
}

// The turn of rotateY and rotateZ by a per-point angle, with the polynomial sines of
// turn_trig.glsl: the fields take several such turns at every step of the march.
vec3 turnAboutY(vec3 q, float a)
{
    vec2 xz = turnBy(q.xz, vec2(cosOf(a), sinOf(a)));
    return vec3(xz.x, q.y, xz.y);
}

vec3 turnAboutZ(vec3 q, float a)
{
    return vec3(turnBy(q.xy, vec2(cosOf(a), sinOf(a))), q.z);
}

// The rounded cube every lattice cell and column cell holds.
float roundedCube(vec3 q)
{
    return sdBox(q, vec3(1.0)) - 0.2;
}

// Turns the xy plane a little, more or less with height and time: the drifting sway.
vec3 bend(vec3 q)
{
    return turnAboutZ(q, 0.08 * cosOf(q.y + time));
}

float latticeDistance(vec3 p)
{
    vec3 q = turnAboutY(p, 0.0208 * p.y + twistPhase);
    q.z += driftZ;
    q = bend(q);
    q.y -= partTime;
    return roundedCube(pModCentred(q, vec3(latticePeriod)));
}

float swarmDistance(vec3 p)
{
    vec3 q = (p + vec3(-30.0, 2.598, -5.906)) / 1.25;
    q.x += swarmDriftX;
    float z = q.z;
    float x = q.x;
    q.y += 8.0 * sinOf(q.z / 8.0);
    q.x -= 4.0 * (0.5 * sinOf(q.z / 2.0) + 0.5);
    q.xy = turnBy(q.xy, swarmTurn);
    q.z = mod(q.z, 0.5) - swarmShift;
    vec2 foldTurn = vec2(cosOf(0.5 * z), sinOf(0.5 * z));
    for (int i = 0; i < 5; ++i) {
        q.y = abs(q.y) - 0.5;
        q.xy = rot2(q.xy, PI / 8.0);
        q = abs(q) - 0.125;
        q.xy = turnBy(q.xy, foldTurn);
        q = abs(q) - 0.125;
        q.yz = turnBy(q.yz, foldTurn);
    }
    float shape = sminP(sdSphere(q, 0.03125), sdBox(q, swarmBox));
    return min(96.0 - x, shape) * 1.25;
}

float cubeColumnDistance(vec3 p)
{
    vec3 q = p + columnOffset;
    q = turnAboutY(q, 0.12 * q.y + twistPhase);
    // Centred like the lattice: each 11-unit cell holds one whole cube, not two halves the march overshoots.
    q.y = mod(q.y, 11.0) - 5.5;
    return roundedCube(q);
}

float tentacleFieldDistance(vec3 p)
{
    vec3 q = turnAboutY(p, 0.08 * p.y + twistPhase);
    q.z += driftZ;
    // Each cell's coordinates run from -7 to 7, so the tentacle near its middle is the nearest
    // one to every point of the cell and the march never overshoots into a neighbour.
    vec2 corner = floor(q.xz / 14.0) * 14.0;
    q.xz -= corner + 7.0;
    q.y -= sinOf(0.3 * corner.x) + cosOf(0.3 * corner.y);
    q = bend(q);
    float cylinder = sdVerticalCylinder(q, vec2(0.6), 0.6);
    float noise = 0.5 * (valueNoise3(1.1 * q) - 0.7) + 0.32 * valueNoise3(2.0 * q) + 0.125 * valueNoise3(8.0 * q);
    return cylinder + noise;
}

// The field of sub-step `step`. Called with a literal step, it keeps only that sub-step's code.
float fieldDistance(vec3 p, int step)
{
    p.x *= screenAspect;
    if (step == 2)
        return sminP(cubeColumnDistance(p), tentacleFieldDistance(p));
    if (step == 1)
        return sminP(latticeDistance(p), 4.0 * swarmDistance(p));
    return latticeDistance(p);
}

vec2 map(vec3 p)
{
    return vec2(fieldDistance(p, subStep), MATERIAL_TENTACLE);
}

// What a ray found: the marched length and, on a hit, the surface normal and occlusion.
struct Trace {
    float t;
    vec3 normal;
    float occlusion;
};

// A hit is sampled six times for its normal (central differences, offset 0.005, as
// calcNormal) and then five times for its occlusion (as ambientOcclusion).
const int normalSamples = 6;
const int surfaceSamples = 11;

// rayMarch, then calcNormal and ambientOcclusion at the hit, over the field of sub-step `step`
// alone and in one loop: a ray that has stopped goes on to its surface samples while the other
// rays of its block still march. Leaves the number of marching evaluations in iterationsCount.
Trace traceField(vec3 ro, vec3 rd, int step)
{
    Trace trace = Trace(0.0, vec3(0.0), 1.0);
    iterationsCount = 0;
    int probe = -1;  // -1 while marching, then the index of the next surface sample
    vec3 hit = ro;
    vec3 gradient = vec3(0.0);
    float occlusionSum = 0.0;
    float weight = 1.0;
    for (int i = 0; i < rayMarchIterations + surfaceSamples; ++i) {
        float h = 0.3 * float(probe - normalSamples + 1);
        vec3 q = probe < 0 ? ro + rd * trace.t
               : probe < normalSamples ? hit + 0.005 * normalAxis(probe)
               : hit + trace.normal * h;
        float d = fieldDistance(q, step);
        if (probe < 0) {
            // A step is one evaluation of the field, the stopping one included, as in rayMarch.
            iterationsCount++;
            bool stopped = d < clipNear || trace.t > clipFar;
            if (!stopped)
                trace.t += stepSize * d;
            if (stopped || iterationsCount == rayMarchIterations) {
                if (trace.t >= missedLength)
                    break;
                hit = ro + trace.t * rd;
                probe = 0;
            }
        } else if (probe < normalSamples) {
            gradient += normalAxis(probe) * d;
            if (++probe == normalSamples)
                trace.normal = normalize(gradient);
        } else {
            occlusionSum += weight * (h - d);
            weight *= 0.5;
            if (++probe == surfaceSamples) {
                trace.occlusion = 0.5 + 0.5 * (1.0 - clamp(occlusionSum, 0.0, 1.0));
                break;
            }
        }
    }
    return trace;
}

Trace traceSubStep(vec3 ro, vec3 rd)
{
    if (subStep == 2)
        return traceField(ro, rd, 2);
    if (subStep == 1)
        return traceField(ro, rd, 1);
    return traceField(ro, rd, 0);
}

// The point the camera looks at and its orbit coordinates (pixel-like, see orbitCamera).
void cameraPath(out vec3 target, out vec2 orbit)
{
    vec3 m = vec3(miscData[0], miscData[1], miscData[2]);
    if (subStep == 2) {
        target = vec3(m.x, m.y - 24.0 + (partTime - 28.0), m.z);
        orbit = vec2(miscData[3] + 2.0 * (28.0 - partTime), miscData[4]);
    } else if (subStep == 1) {
        target = vec3(m.x + 0.25 * partTime, m.y - 0.75 * partTime, m.z + partTime - 14.0);
        orbit = vec2(miscData[3] + 0.25 * partTime, miscData[4]);
    } else {
        target = vec3(m.x - 0.5 * partTime, m.y, m.z);
        orbit = vec2(miscData[3], miscData[4] - 0.25 * partTime);
    }
}

vec3 shadeHit(vec3 p, vec3 rd, vec3 eye, Trace trace)
{
    PointLight light = PointLight(eye + vec3(0.0, 5.0, 0.0), tentacleColour, 2.06);
    vec3 colour = shadePointLight(light, materialFor(MATERIAL_TENTACLE), tentacleColour, p, trace.normal, -rd,
                                  trace.occlusion);
    if (subStep < 2) {
        float y = mod(p.y + partTime, 4.0);
        float band = smoothstep(0.0, 0.5, y) * smoothstep(-0.5, 0.0, -y);
        colour += pow(partTime, 0.3) * vec3(0.0, 0.5 * lightAdd, lightAdd) * band;
    }
    return colour;
}

vec3 skyColour(vec3 rd)
{
    float k = 1.0 + rd.y;
    return mix(vec3(0.0, 0.1, 0.2), vec3(0.1, 0.4, 0.7), k * k);
}

// Specks drifting past a second camera that flies down its own winding tunnel.
vec3 floatingDust(vec2 uv)
{
    vec3 eye, ray, straightEye;
    dustCamera(uv, eye, ray, straightEye);
    // Stops at the dust eye's distance from its unwound place (logooverlay.glsl's len): the scene eye is in another space.
    float specks = dustLayers(eye, ray, 6, length(straightEye - eye));
    float facing = max(0.0, dot(ray, normalize(vec3(-0.2, 0.2, 0.5))));
    return specks * mix(vec3(0.2, 0.2, 0.6), vec3(0.5, 0.5, 0.8), facing * facing);
}

// One fan of light rays from `source` (pixels), brightest along directions whose cosine with
// `reference` makes the two waves line up.
float lightRayFan(vec2 source, vec2 reference, vec2 pixel, float seedA, float seedB, float speed)
{
    vec2 toPixel = pixel - source;
    float c = dot(normalize(toPixel), normalize(reference));
    float waves = 0.45 + 0.15 * sin(c * seedA + speed * time) + 0.3 + 0.2 * cos(-c * seedB + speed * time);
    return clamp(waves, 0.0, 1.0) * clamp((resolution.x - length(toPixel)) / resolution.x, 0.5, 1.0);
}

vec3 lightRays(vec3 colour, vec2 pixel)
{
    vec2 size = resolution;
    // Rows count up from the bottom: the sources at -0.4 and -0.6 height lie below the picture, so the fans rise.
    float fan1 = lightRayFan(vec2(0.7 * size.x + 0.125 * cos(PI * partTime), -0.4 * size.y), vec2(1.0, -0.116), pixel,
                             36.2214, 21.11349, 1.5);
    float fan2 = lightRayFan(vec2(0.8 * size.x, -0.6 * size.y), vec2(1.0, 0.241), pixel, 22.39910, 18.0234, 1.1);
    colour += (0.5 * fan1 + 0.4 * fan2) * clamp(0.25 * lightAdd, 0.4, 2.0);
    // Deeper water toward the bottom of the picture: red fades first, blue last.
    float k = pixel.y / size.y;
    return colour * vec3(0.1 + 0.8 * k, 0.3 + 0.6 * k, 0.5 + 0.5 * k);
}

void main()
{
    setFrameValues();
    vec3 target;
    vec2 orbit;
    cameraPath(target, orbit);
    vec3 eye = orbitCamera(target, cameraDistance, orbit);
    vec2 uv = aspectUv();
    vec3 rd = lookAtRay(eye, target, uv, 1.0 / 1.5);

    Trace trace = traceSubStep(eye, rd);
    float t = trace.t;
    float steps = float(iterationsCount);
    bool missed = t >= missedLength;

    vec3 colour = missed ? skyColour(rd) : shadeHit(eye + t * rd, rd, eye, trace);
    colour = applyFog(colour, fogColour, t);
    // Every ray counts the evaluation that stopped it, so steps >= 1: no ray goes without the glow.
    colour = mix(colour, glowColour, steps / 57.6);
    colour += floatingDust(uv);
    if (missed)
        colour = lightRays(colour, gl_FragCoord.xy);
    colour = lensVignette(colour, uv, 1.65);
    colour = filmicToneMap(colour, 2.0, 3.0);
    colour = clamp(gammaCorrect(colour), 0.0, 1.0);
    fragColor = vec4(colour, steps / 128.0);
}
