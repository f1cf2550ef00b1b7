// The score: when every hit falls and which harmony and arrangement each part plays, all
// taken from the demo's own beat-sync list and part table so the sound lands on the pictures.
// Does NOT synthesize anything: voices.h and layers.h turn the score into sound.
#pragma once
#include <array>
#include <vector>

struct Chord {
  float bass;                  // MIDI note of the bass
  std::array<float, 4> notes;  // MIDI notes of the pad, low to high
};

// How loud each layer plays in one part (0 = silent).
struct Arrangement {
  std::array<Chord, 4> chords;  // cycled on the bar grid, from chord 0 at the part's start
  float pad;
  float padCutoff;  // Hz
  float bass;
  float arp;
  float hats;       // closed hats on the hat grid
  float offbeats;   // open hats between kicks once the hat grid has ended
  float bells;      // soft pulse on the bar grid
  float lead;       // the sustained melody over the chords
};

struct ScorePart {
  double start;
  double end;
  Arrangement sound;
};

struct Score {
  double length;                 // seconds of audio
  std::vector<ScorePart> parts;  // in time order, covering 0..length
  std::vector<double> bars;      // the soft-pulse grid; chords change here and at part starts
  std::vector<double> kicks;
  std::vector<double> hats;
  std::vector<double> offbeatHats;
  std::vector<double> snares;
  std::vector<double> crashes;
  std::vector<double> sweepTargets;  // each sweep rises into one of these
  std::vector<double> chimes;
  std::vector<double> booms;
  std::vector<double> arpSteps;
};

// Periods of the sync list's bar (soft pulse) and kick (light pulse) grids.
constexpr double barSeconds = 3.634;
constexpr double kickSeconds = 0.913;

constexpr double trackLength = 263.0;  // the demo stops at 259 s; the tail fades out after it
constexpr double fadeOutStart = 259.5;
constexpr double fadeOutEnd = 262.5;

Score makeScore(double length);
// The part playing at `seconds` (the last one past the end of the table).
const ScorePart& partAt(const Score& score, double seconds);
// The chord of `part` at `seconds`: chord 0 from the part start, the next one at each bar.
const Chord& chordAt(const Score& score, const ScorePart& part, double seconds);
