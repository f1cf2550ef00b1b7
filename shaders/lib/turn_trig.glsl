// Sine and cosine by polynomial, for the shaders that take many per pixel on smooth terms (the
// abstract worlds' and tentacles' distance fields, the mist's noise), where llvmpipe's sin and
// cos cost about twice these; not everywhere (the dust's dots got slower), so measure each use.
// The argument, counted in whole turns, keeps only its nearest-turn remainder r (|r| <= 0.5),
// and a near-minimax polynomial in r^2 gives the value to within 1.3e-6; large arguments add
// the rounding of the scale to turns (about 1e-7 of the argument). Not for the
// sine hashes: their fract(sin(x) * 43758) magnifies any such difference.
// Provides: sinOfTurns, cosOfTurns (of TAU u), sinOf, cosOf (of radians).
// Expects: nothing.

// sin(TAU u).
float sinOfTurns(float u)
{
    float r = u - floor(u + 0.5);
    float z = r * r;
    float p = (-12.4688187 * z + 41.3413658) * z - 76.6141434;
    return r * (((p * z + 81.5999146) * z - 41.3415871) * z + 6.28318501);
}

// cos(TAU u).
float cosOfTurns(float u)
{
    float r = u - floor(u + 0.5);
    float z = r * r;
    float p = (-21.0654297 * z + 58.7869415) * z - 85.2708435;
    return ((p * z + 64.9285889) * z - 19.7389774) * z + 0.999999225;
}

const float TURNS_PER_RADIAN = 0.159154937;

float sinOf(float radians)
{
    return sinOfTurns(radians * TURNS_PER_RADIAN);
}

float cosOf(float radians)
{
    return cosOfTurns(radians * TURNS_PER_RADIAN);
}
