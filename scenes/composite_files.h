// Paths of the final-composite fragment files (and the logo part's own scene pass), the
// files hot reload reads; the same paths key their embedded copies (findEmbeddedShader).
// Does NOT build programs: each scene builds the variant it draws with.
#pragma once

// Letterbox, overlay light, fades and captions of the intro.
inline constexpr const char* amigaBorderIntroFile = "./shaders/postprocessors/amigaborder_intro.glsl";
// Letterbox and overlay light of the ray-marched parts.
inline constexpr const char* amigaBordersPartFile = "./shaders/postprocessors/amigaborders_part.glsl";
// The part composite plus spectrum bars across the screen (uniform vumeters).
inline constexpr const char* amigaBordersFile = "./shaders/postprocessors/amigaborders.glsl";
// The part composite whose bars close like a switched-off screen (uniform partTime).
inline constexpr const char* amigaBordersOuttroFile = "./shaders/postprocessors/amigaborders_outtro.glsl";
// The closing part's composite: the unrolling end logo and the centre line.
inline constexpr const char* amigaBordersEndFile = "./shaders/postprocessors/amigaborders_end.glsl";
// The logo part's scene pass: logo image, line field and dust.
inline constexpr const char* logoOverlayFile = "./shaders/scenes/logooverlay.glsl";
