// Where each post-processing pass's fragment text lives: the path hot reload reads, which is
// also the key of its embedded copy (findEmbeddedShader). Scenes build their pass programs
// from these. Owns: the path constants and the list of all passes. Does NOT build programs.
#pragma once
#include <array>

inline constexpr const char* qdofPassPath = "./shaders/postprocessors/qdof.glsl";
inline constexpr const char* radialBlurPassPath = "./shaders/postprocessors/radialblur.glsl";
inline constexpr const char* bloomPassPath = "./shaders/postprocessors/bloom.glsl";
inline constexpr const char* glitchPassPath = "./shaders/postprocessors/glitch.glsl";
inline constexpr const char* fxaaPassPath = "./shaders/postprocessors/fxaa.glsl";
inline constexpr const char* bokehPassPath = "./shaders/postprocessors/bokeh.glsl";
inline constexpr const char* vumetersPassPath = "./shaders/postprocessors/vumeters.glsl";
inline constexpr const char* crtPassPath = "./shaders/postprocessors/crt.glsl";
inline constexpr const char* lightShaftsPassPath = "./shaders/postprocessors/lightshafts.glsl";
inline constexpr const char* rgbSplitPassPath = "./shaders/postprocessors/rgbsplit.glsl";
inline constexpr const char* pixelatePassPath = "./shaders/postprocessors/pixelate.glsl";
inline constexpr const char* copyPassPath = "./shaders/postprocessors/copy.glsl";
// qdof with its taps written out, for the intro; its benchmark line is qdof's.
inline constexpr const char* qdofWrittenOutPassPath = "./shaders/postprocessors/qdof_written_out.glsl";
// Quad words of one channel (the light shafts' first half, the intro's rock); not a pass of its own.
inline constexpr const char* channelQuadsPassPath = "./shaders/postprocessors/channel_quads.glsl";

struct PostPassFile {
  const char* name;  // short label for reports and benchmarks
  const char* path;
};

inline constexpr std::array<PostPassFile, 12> postPassFiles = {{
    {"qdof", qdofPassPath},
    {"radialblur", radialBlurPassPath},
    {"bloom", bloomPassPath},
    {"glitch", glitchPassPath},
    {"fxaa", fxaaPassPath},
    {"bokeh", bokehPassPath},
    {"vumeters", vumetersPassPath},
    {"crt", crtPassPath},
    {"lightshafts", lightShaftsPassPath},
    {"rgbsplit", rgbSplitPassPath},
    {"pixelate", pixelatePassPath},
    {"copy", copyPassPath},
}};
