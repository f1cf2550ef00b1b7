// Render textures, the framebuffers around them, the one-row spectrum texture, and the rule
// that a texture named T is always bound on unit GL_TEXTURE0 + T with its sampler set to T.
// Owns: creating these objects and the binding helpers. Does NOT hold the process-wide lists
// (render/gl_lists.h) nor decide when the spectrum changes (the frame step does).
#pragma once
#include <cstdint>

class ShaderProgram;

// An RGBA8 texture at render size, linear filters, clamped to edge; left bound on the active unit.
uint32_t createRenderTexture();
// An RGBA32F texture at render size, nearest filters, clamped to edge: a pass's exact float
// intermediate (the tentacle focus's row sums); left bound on its own unit, now active.
uint32_t createFloatRenderTexture();
// A GL_R32UI texture of width x height, nearest filters, clamped to edge: a pass's words for
// the pass after it (quad words); left bound on its own unit, now active.
uint32_t createWordTexture(int width, int height);
// createWordTexture at render size (the light shafts' quad words).
uint32_t createWordRenderTexture();
// A framebuffer drawing into `texture`; prints "Could not create framebuffer" when incomplete.
// Always returns with framebuffer 0 bound.
uint32_t createFramebuffer(uint32_t texture);

// The 512 x 1 GL_R32F spectrum texture, filled from `raw512` (512 floats).
uint32_t createSoundTexture(const float* raw512);
// Re-specifies the spectrum texture from `raw512`, bound on its own unit.
void uploadSoundTexture(uint32_t texture, const float* raw512);

// Makes the texture's own unit active and binds `name` there as a 2D texture; returns the unit
// (the name itself on the desktop; in the browser, whose GL has fewer units, a unit it holds).
int bindTextureOnOwnUnit(uint32_t name);
// Binds `textureName` on its own unit and points the sampler `uniformName` of the program in use at it.
void setSampler(uint32_t programId, const char* uniformName, uint32_t textureName);
void setSampler(const ShaderProgram& program, const char* uniformName, uint32_t textureName);

// A scene's private target: framebuffer with colour texture and depth buffer, plus a second
// texture of the same kind attached to nothing, all at render size.
struct SceneFramebuffer {
  uint32_t frameBuffer = 0;
  uint32_t colorTexture = 0;
  uint32_t secondTexture = 0;
  uint32_t depthBuffer = 0;
};
// Prints the "CreateFrameBuffer: w:... h:..." line and creates the four objects.
SceneFramebuffer createSceneFramebuffer();
