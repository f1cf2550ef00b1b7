// AmbientIntroScene: the intro, a flight over a breathing terrain under three captions,
// through the longest pass chain of the demo.
// Owns: its ten programs, settings and the rock texture's red quad words (kept while pack slot 0
// holds the same texture). Keeps no other state between frames.
#pragma once
#include <cstdint>

#include "render/channel_quads.h"
#include "render/pass_programs.h"
#include "scenes/base_demo_screen.h"

class AmbientIntroScene : public BaseDemoScreen {
 public:
  void init() override;
  void render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures) override;
  void advance() override;
  void reload() override;

  PassProgram scene;
  PassProgram composite;
  PassProgram depthOfField;
  PassProgram radialBlur;
  PassProgram fxaa;
  PassProgram bloom;
  PassProgram glitch;
  PassProgram bokeh;
  PassProgram spectrumBox;
  PassProgram channelQuads;  // makes rockQuads
  ChannelQuads rockQuads;    // the red of the rock texture (pack slot 0), for the terrain's own filter
};

// The bokeh pass's radius and, when its spiral stays inside each pixel's 3 x 3 texels at the
// render size, the switch to its nine-texel path (the program in use).
void setBokehSpiral(uint32_t programId, float radius);
