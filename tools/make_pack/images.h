// What each pack image shows: one drawing function per directory name.
// A drawing takes a size factor (1 = the designed size); the generator lowers it when an
// image encodes larger than its directory row allows. Does NOT encode or pad.
#pragma once
#include <string>

#include "tools/make_pack/canvas.h"

using ImageDrawing = Canvas (*)(float sizeFactor);

// The drawing for a directory name, or nullptr.
ImageDrawing findImageDrawing(const std::string& name);

// Drawings, grouped by kind (images_textures.cpp, images_overlays.cpp, images_text.cpp).
Canvas drawTerrainTexture(float f);
Canvas drawCubeTexture(float f);
Canvas drawBubble(float f);
Canvas drawBlank(float f);
Canvas drawOverlay(float f);
Canvas drawBorder1(float f);
Canvas drawBorder2(float f);
Canvas drawBorder3(float f);
Canvas drawGreetings1(float f);
Canvas drawGreetings2(float f);
Canvas drawGreetings3(float f);
Canvas drawIntro1(float f);
Canvas drawIntro2(float f);
Canvas drawIntro3(float f);
Canvas drawCredits1(float f);
Canvas drawCredits2(float f);
Canvas drawCredits3(float f);
Canvas drawProductionLogo(float f);
Canvas drawGroupLogo(float f);
Canvas drawEndLogo(float f);
