// Builds the score from the beat-sync list and the part table, with one arrangement per part.
#include "tools/make_music/score.h"

#include <algorithm>

#include "timeline/beat_sync.h"
#include "timeline/demo_parts.h"

namespace {

// One arrangement per part index; the harmony moves to a new key at every part boundary.
const Arrangement arrangements[] = {
    // Intro: A minor, a pad that opens slowly, hats and bells only.
    {{{{33, {57, 60, 64, 71}}, {29, {53, 57, 60, 64}}, {36, {55, 60, 64, 67}}, {31, {55, 59, 62, 67}}}},
     0.8f, 1800.0f, 0.35f, 0.0f, 0.35f, 0.0f, 0.6f, 0.0f},
    // Abstract worlds: D minor, the full groove.
    {{{{38, {57, 60, 62, 65}}, {34, {57, 58, 62, 65}}, {31, {55, 58, 62, 65}}, {33, {55, 57, 62, 64}}}},
     0.7f, 2600.0f, 1.0f, 0.5f, 0.8f, 0.0f, 0.5f, 0.5f},
    // Tentacles: E minor with a flat second, darker and heavier.
    {{{{28, {52, 55, 59, 64}}, {29, {53, 57, 60, 65}}, {28, {52, 55, 59, 64}}, {26, {53, 57, 62, 65}}}},
     0.6f, 1500.0f, 1.1f, 0.3f, 0.5f, 0.7f, 0.3f, 0.45f},
    // Greets: F major, bright.
    {{{{29, {57, 60, 64, 65}}, {36, {55, 60, 64, 67}}, {38, {57, 62, 65, 69}}, {34, {58, 62, 65, 69}}}},
     0.8f, 3200.0f, 1.0f, 0.6f, 0.0f, 0.8f, 0.6f, 0.7f},
    // Greets explode: a suspended pedal that builds tension, no bass.
    {{{{36, {55, 60, 62, 67}}, {37, {56, 61, 65, 68}}, {36, {55, 60, 62, 67}}, {37, {56, 61, 65, 68}}}},
     0.9f, 5000.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
    // Logo effect: G minor.
    {{{{31, {58, 62, 65, 67}}, {27, {58, 63, 67, 70}}, {34, {58, 62, 65, 70}}, {29, {57, 60, 65, 69}}}},
     0.7f, 2200.0f, 1.0f, 0.6f, 0.0f, 0.6f, 0.5f, 0.6f},
    // Meta cubes: back to A minor, voiced higher, everything playing.
    {{{{33, {60, 64, 67, 71}}, {29, {60, 64, 65, 69}}, {36, {60, 64, 67, 72}}, {31, {59, 62, 67, 71}}}},
     0.8f, 3500.0f, 1.1f, 0.7f, 0.0f, 0.9f, 0.6f, 0.8f},
    // End: A minor, the groove thins out under the closing pad.
    {{{{33, {57, 60, 64, 71}}, {29, {57, 60, 64, 65}}, {33, {57, 60, 64, 71}}, {33, {57, 60, 64, 71}}}},
     0.8f, 1200.0f, 0.4f, 0.2f, 0.0f, 0.0f, 0.7f, 0.3f},
};
constexpr int arrangementCount = sizeof(arrangements) / sizeof(arrangements[0]);

void collectSyncTimes(Score& score) {
  for (const BeatSyncItem& item : makeBeatSyncList()) {
    const double t = item.time;
    if (t >= score.length) continue;
    for (const SyncAction& action : item.actions) {
      switch (syncActionType(action)) {
        case SyncActionType::FadeToWhite: score.crashes.push_back(t); break;
        case SyncActionType::LerpOne: score.bars.push_back(t); break;
        case SyncActionType::LerpTwo: score.hats.push_back(t); break;
        case SyncActionType::FadeToBlack:
        case SyncActionType::HeldFadeToBlack: score.sweepTargets.push_back(t); break;
        case SyncActionType::LightPulse: score.kicks.push_back(t); break;
        case SyncActionType::CrtPulse: score.snares.push_back(t); break;
        case SyncActionType::LerpThree: score.chimes.push_back(t); break;
        case SyncActionType::IntroPulse: score.booms.push_back(t); break;
        default: break;
      }
    }
  }
}

void collectParts(Score& score) {
  for (const DemoPart& row : makeDemoTimeline()) {
    const int index = std::clamp(row.index, 0, arrangementCount - 1);
    score.parts.push_back({row.start, row.end, arrangements[index]});
  }
  std::sort(score.parts.begin(), score.parts.end(),
            [](const ScorePart& a, const ScorePart& b) { return a.start < b.start; });
  if (score.parts.empty()) score.parts.push_back({0.0, score.length, arrangements[0]});
  score.parts.back().end = std::max(score.parts.back().end, score.length);
}

// Once the hat grid has ended, the groove moves to the kicks: open hats between them and the
// arpeggio on kicks and midpoints.
void deriveKickGrid(Score& score) {
  const double hatsEnd = score.hats.empty() ? 0.0 : score.hats.back();
  for (double t : score.hats)
    if (partAt(score, t).sound.arp > 0.0f) score.arpSteps.push_back(t);
  for (size_t i = 0; i + 1 < score.kicks.size(); ++i) {
    const double kick = score.kicks[i];
    const double middle = 0.5 * (kick + score.kicks[i + 1]);
    if (kick <= hatsEnd + 0.2) continue;
    if (partAt(score, middle).sound.offbeats > 0.0f) score.offbeatHats.push_back(middle);
    if (partAt(score, kick).sound.arp > 0.0f) score.arpSteps.push_back(kick);
    if (partAt(score, middle).sound.arp > 0.0f) score.arpSteps.push_back(middle);
  }
}

}  // namespace

Score makeScore(double length) {
  Score score;
  score.length = length;
  collectSyncTimes(score);
  collectParts(score);
  deriveKickGrid(score);
  return score;
}

const ScorePart& partAt(const Score& score, double seconds) {
  for (const ScorePart& part : score.parts)
    if (seconds < part.end) return part;
  return score.parts.back();
}

const Chord& chordAt(const Score& score, const ScorePart& part, double seconds) {
  const auto first = std::upper_bound(score.bars.begin(), score.bars.end(), part.start);
  const auto last = std::upper_bound(score.bars.begin(), score.bars.end(), seconds);
  const long bars = std::max(0L, static_cast<long>(last - first));
  return part.sound.chords[bars % 4];
}
