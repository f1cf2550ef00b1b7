// Display and quality settings, process-wide. They live with the render targets that are sized
// from them, below every room that writes them.
// Writers: parseCommandLine (windowed, quality, qualityCopy, render size), applyToolSizes (the
// same for the offline renderer, its benchmark and the studio) and
// initDisplay (window size); all run once before the first frame, nothing in the demo changes
// them later. tarvik-studio's session also writes the window size when its window is resized.
#pragma once
#include <string>

struct DisplaySettings {
  bool windowed = false;
  int quality = 1;  // 0 low, 1 medium, 2 high
  int windowWidth = 0;
  int windowHeight = 0;
  int renderWidth = 0;  // every render target is renderWidth x renderHeight, square
  int renderHeight = 0;
};

extern DisplaySettings settings;

struct SizeWH {
  int width;
  int height;
};
// "low", "medium" or "high" to 0, 1 or 2; false (quality untouched) for anything else.
bool parseQualityName(const std::string& text, int& quality);
// The name of quality 0, 1 or 2 (clamped, as the render sizes are).
const char* qualityName(int quality);
// The square render size and the windowed size of quality 0, 1 or 2 (clamped).
SizeWH renderSizeForQuality(int quality);
SizeWH windowedSizeForQuality(int quality);
// The published second copy of the quality level, read by the tentacle and greets scenes.
extern int qualityCopy;
