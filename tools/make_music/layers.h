// The sustained layers of the track, rendered over its whole length: the chord pad, the
// bass and the lead melody, all following the harmony of the part playing and ducking under the kicks.
// Does NOT render struck sounds (voices.h) or effects (effects.h).
#pragma once
#include "tools/make_music/score.h"
#include "tools/make_music/voices.h"

// 0 at the very start, 1 after the intro's first seconds: the track opens out of silence.
float introSwell(double seconds, double rampSeconds);

void renderPad(Mix& mix, const Score& score);
void renderBass(Mix& mix, const Score& score);
void renderLead(Mix& mix, const Score& score);
