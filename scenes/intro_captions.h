// Which intro caption shows, and how strongly, at a part time of the intro.
// Owns: the caption timetable. Does NOT bind textures: the scene maps slots to GL names.
#pragma once

struct IntroCaption {
  int packSlot;  // slot of the caption image in packTextures, -1 when none is bound
  float alpha;   // textAlpha, 0 to 1
};

// Each caption fades in over one second, holds, and fades out over one second.
IntroCaption introCaptionAt(float partTime);
