// Paths of the scene-specific pass files (also the keys of their embedded copies).
// Does NOT build programs.
#pragma once

// The tentacle part's own depth of field, reading the march-step ratio in alpha.
inline constexpr const char* tentacleFocusFile = "./shaders/scenes/tentacle_dof.glsl";
// Its first half: the Gaussian along each row, into a float target the focus pass reads.
inline constexpr const char* tentacleFocusRowsFile = "./shaders/scenes/tentacle_dof_rows.glsl";
// The exploding greetings' logo, faded in from black behind the tiles.
inline constexpr const char* logoFadeFile = "./shaders/scenes/logofade.glsl";
// The intro's terrain flight with its dust, hue turn, lens falloff and tone map.
inline constexpr const char* altIntroFile = "./shaders/scenes/altintro.glsl";
