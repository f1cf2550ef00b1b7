// Text for the pack images, rasterised with stb_truetype from a Debian DejaVu font.
// Owns: loading the font once. Does NOT lay out paragraphs: callers place each line.
#pragma once
#include <string>

#include "tools/make_pack/canvas.h"

// Loads the bold DejaVu face (regular as fallback); false when neither opens.
bool loadPackFont();
// Width in pixels of `text` at `pixelHeight`.
float textWidth(const std::string& text, float pixelHeight);
// Draws `text` centred on x = centreX with its baseline at `baseline`, blended in `c`.
void drawTextCentred(Canvas& canvas, const std::string& text, float centreX, float baseline, float pixelHeight,
                     Colour c);
