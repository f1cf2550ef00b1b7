// Benchmark of the post-processing passes: each pass drawn over a full render-size target (the
// low-quality size unless a quality level is given) a fixed number of times, as the demo draws
// it, with the time per draw printed in milliseconds. A separate program, not a test: it opens
// its own hidden window and GL context. Usage: bench_passes [draws] [quality 0..2]
#include <GL/glew.h>
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/options.h"
#include "render/channel_quads.h"
#include "render/display_settings.h"
#include "render/embedded_shaders.h"
#include "render/post_pass_files.h"
#include "render/render_targets.h"
#include "render/screen_quad.h"
#include "render/shader_program.h"
#include "render/shared_uniforms.h"
#include "geometry/tile_mesh.h"
#include "scenes/abstract_worlds_screen.h"
#include "scenes/dust_turns.h"
#include "scenes/greets_scene.h"
#include "scenes/greets_timing.h"
#include "scenes/menger_scene.h"
#include "scenes/scene_shader_files.h"
#include "scenes/tentacle_scene.h"
#include "scenes/tentacle_timing.h"

namespace {

bool openContext() {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::printf("bench_passes: SDL_Init failed: %s\n", SDL_GetError());
    return false;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_Window* window = SDL_CreateWindow("bench_passes", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 64, 64,
                                        SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!window || !SDL_GL_CreateContext(window)) {
    std::printf("bench_passes: no GL context: %s\n", SDL_GetError());
    return false;
  }
  glewExperimental = GL_TRUE;
  if (glewInit() != GLEW_OK) {
    std::printf("bench_passes: glewInit failed\n");
    return false;
  }
  while (glGetError() != GL_NO_ERROR) {
  }
  return true;
}

// A busy picture with a depth-like alpha, so the tap passes sample varied texels.
uint32_t patternTexture(int w, int h) {
  std::vector<unsigned char> pixels(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      unsigned char* p = &pixels[(static_cast<size_t>(y) * w + x) * 4];
      p[0] = static_cast<unsigned char>((x * 7 + y * 3) & 255);
      p[1] = static_cast<unsigned char>(((x ^ y) * 5) & 255);
      p[2] = static_cast<unsigned char>((x * y) & 255);
      p[3] = static_cast<unsigned char>((x + y) * 255 / (w + h));
    }
  }
  const uint32_t texture = createRenderTexture();
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return texture;
}

void setFloat(uint32_t program, const char* name, float value) {
  glUniform1f(glGetUniformLocation(program, name), value);
}

// The shared values and pass uniforms of a typical frame, so every branch does its full work.
void setPassUniforms(const ShaderProgram& program, uint32_t input, uint32_t sound) {
  const uint32_t id = program.programId;
  uploadSharedUniforms(program);
  setSampler(program, "renderTexture", input);
  setSampler(program, "soundTexture", sound);
  setFloat(id, "time", sharedUniforms.songPosition);
  setFloat(id, "radius", 1.0f);
  setFloat(id, "roffset", 0.004f);
  setFloat(id, "goffset", -0.002f);
  setFloat(id, "boffset", 0.003f);
  setFloat(id, "pixelValue", 8.0f);
  setFloat(id, "lerp3", 0.5f);
  setFloat(id, "crt_mix", 0.5f);
}

// Milliseconds per draw over `draws` draws, after a few unmeasured ones.
double timePass(const ShaderProgram& program, const ScreenQuad& quad, uint32_t framebuffer, int draws) {
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glViewport(0, 0, settings.renderWidth, settings.renderHeight);
  glUseProgram(program.programId);
  for (int i = 0; i < 3; ++i) drawScreenQuad(quad);
  glFinish();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < draws; ++i) drawScreenQuad(quad);
  glFinish();
  const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / draws;
}

struct BenchTarget {
  const ScreenQuad& quad;
  uint32_t input, sound, framebuffer;
  int draws;
};

// A pass in two halves, as its scene runs it: the first half into `side` (a texture at render
// size, deleted here), then the second reading it as `sideSampler`; one line with both times.
void benchTwoHalves(const char* name, const char* firstHalfPath, const char* secondHalfPath, uint32_t side,
                    const char* sideSampler, const BenchTarget& target) {
  const std::string* first = findEmbeddedShader(firstHalfPath);
  const std::string* second = findEmbeddedShader(secondHalfPath);
  const GLuint sideTexture = side;
  const uint32_t sideTarget = createFramebuffer(side);
  if (first && second) {
    const ShaderProgram firstProgram(false, screenQuadVertexSource(), *first, "");
    glUseProgram(firstProgram.programId);
    setPassUniforms(firstProgram, target.input, target.sound);
    const double firstMs = timePass(firstProgram, target.quad, sideTarget, target.draws);
    const ShaderProgram program(false, screenQuadVertexSource(), *second, "");
    glUseProgram(program.programId);
    setPassUniforms(program, target.input, target.sound);
    setSampler(program, sideSampler, side);
    const double secondMs = timePass(program, target.quad, target.framebuffer, target.draws);
    std::printf("%-12s %8.3f ms  (first half %.3f ms, second %.3f ms)\n", name, firstMs + secondMs, firstMs, secondMs);
    std::fflush(stdout);
  }
  glDeleteFramebuffers(1, &sideTarget);
  glDeleteTextures(1, &sideTexture);
}

// The tentacle part's ray-marcher at part time `partTime` (its sub-step and camera as the
// scene chooses them), then its own depth of field over the pattern.
void benchTentacles(const ScreenQuad& quad, uint32_t input, uint32_t sound, uint32_t framebuffer, int draws) {
  // A ray-marched frame costs far more than a post pass: fewer draws keep the run short.
  const int sceneDraws = std::min(draws, 5);
  const float partTimes[] = {5.0f, 20.0f, 35.0f};
  for (const float partTime : partTimes) {
    SceneSettings step;
    applyTentacleStep(step, partTime, 0);
    const ShaderProgram scene(false, screenQuadVertexSource(), tentacleSubStepSource(ShaderFiles::Embedded, step.sub_step),
                              "");
    sharedUniforms.sub_step = step.sub_step;
    sharedUniforms.miscData = step.miscData;
    sharedUniforms.partStart = sharedUniforms.songPosition - partTime;
    glUseProgram(scene.programId);
    setPassUniforms(scene, input, sound);
    setDustFrame(scene.programId, tentacleDustSwirl, sharedUniforms.songPosition, sharedUniforms.partStart);
    std::printf("%-12s %8.3f ms  (sub-step %d, %d draws)\n", "tentacles", timePass(scene, quad, framebuffer, sceneDraws),
                step.sub_step, sceneDraws);
    std::fflush(stdout);
  }
  sharedUniforms.apply_dof = true;  // the full blur, as the part runs it
  sharedUniforms.dof1 = 3.0f;
  sharedUniforms.dof2 = 9.0f;
  sharedUniforms.dof3 = 15.0f;
  // The row sums into a float target, then the columns reading it.
  benchTwoHalves("tentacle_dof", tentacleFocusRowsFile, tentacleFocusFile, createFloatRenderTexture(), "rowSums",
                 {quad, input, sound, framebuffer, draws});
}

// The meta cubes' ray-marcher at three part times (the entry, mid-part, before the close), seen
// through a 16:9 window as the demo shows it, the pattern standing in for the cube texture.
void benchMeta(const ScreenQuad& quad, uint32_t input, uint32_t sound, uint32_t framebuffer, int draws) {
  const std::string* text = findEmbeddedShader(metaSceneFile);
  if (!text) return;
  const int sceneDraws = std::min(draws, 5);  // a ray-marched frame costs far more than a post pass
  const ShaderProgram scene(false, screenQuadVertexSource(), *text, "");
  const SizeWH window{settings.windowWidth, settings.windowHeight};
  settings.windowWidth = 1280;
  settings.windowHeight = 720;
  for (const float partTime : {2.5f, 15.0f, 30.0f}) {
    sharedUniforms.partStart = sharedUniforms.songPosition - partTime;
    glUseProgram(scene.programId);
    setPassUniforms(scene, input, sound);
    setSampler(scene, "cubeTexture", input);
    setDustFrame(scene.programId, metaDustSwirl, sharedUniforms.songPosition, sharedUniforms.partStart);
    std::printf("%-12s %8.3f ms  (part time %.1f, %d draws)\n", "meta", timePass(scene, quad, framebuffer, sceneDraws),
                partTime, sceneDraws);
    std::fflush(stdout);
  }
  settings.windowWidth = window.width;
  settings.windowHeight = window.height;
}

// The greets ray-marcher in each of its three phases (camera and flare as the part sets them),
// then the tile mesh's per-frame work: the CPU rebuild of all 3136 tiles alone, and the rebuild
// with the upload of the whole vertex array, as drawTiles runs them every frame.
void benchGreets(const ScreenQuad& quad, uint32_t input, uint32_t sound, uint32_t framebuffer, int draws) {
  const int sceneDraws = std::min(draws, 5);  // a ray-marched frame costs far more than a post pass
  const ShaderProgram scene(false, screenQuadVertexSource(), greetsRaymarcherSource(ShaderFiles::Embedded), "");
  for (const float partTime : {4.0f, 20.0f, 30.0f}) {
    sharedUniforms.partStart = sharedUniforms.songPosition - partTime;
    writeGreetsSharedValues(partTime, 0, sharedUniforms);
    glUseProgram(scene.programId);
    setPassUniforms(scene, input, sound);
    setDustFrame(scene.programId, greetsDustSwirl, sharedUniforms.songPosition, sharedUniforms.partStart);
    std::printf("%-12s %8.3f ms  (part time %.1f, %d draws)\n", "greets", timePass(scene, quad, framebuffer, sceneDraws),
                partTime, sceneDraws);
    std::fflush(stdout);
  }
  TileMesh mesh;
  mesh.buildTiles();
  mesh.exploding = true;
  const int frames = std::max(draws, 20);
  auto perFrame = [&](bool upload) {
    glFinish();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i) {
      const double t = 4.0 * (i / 60.0);
      if (upload) {
        mesh.updateTiles(t);
      } else {
        mesh.rebuildVertices(t);
      }
    }
    glFinish();
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / frames;
  };
  std::printf("%-12s %8.3f ms  (CPU rebuild of %d tiles, %d frames)\n", "tiles", perFrame(false), TileMesh::tileCount,
              frames);
  std::printf("%-12s %8.3f ms  (rebuild plus upload of %zu bytes, %d frames)\n", "tiles+upload", perFrame(true),
              mesh.vertices.size() * sizeof(float), frames);
  std::fflush(stdout);
  glBindVertexArray(0);
}

// The abstract worlds ray-marcher in both phases (sinking over the strips with the sky, and the
// turning world with the cube stacks), seen through a 16:9 window as the demo shows it.
void benchAbstractWorlds(const ScreenQuad& quad, uint32_t input, uint32_t sound, uint32_t framebuffer, int draws) {
  const int sceneDraws = std::min(draws, 5);  // a ray-marched frame costs far more than a post pass
  const ShaderProgram scene(false, screenQuadVertexSource(), abstractWorldsSceneText(ShaderFiles::Embedded), "");
  const SizeWH window{settings.windowWidth, settings.windowHeight};
  settings.windowWidth = 1280;
  settings.windowHeight = 720;
  sharedUniforms.miscData = {2.3f, 1.0f, 1.0f, 0.0f, 0.0f, 6.207f, 0.0f, 2.66f, 0.0f, 2.3f, 4.4f, 1.0f, 1.0f};
  for (const float partTime : {15.0f, 50.0f}) {
    sharedUniforms.partStart = sharedUniforms.songPosition - partTime;
    glUseProgram(scene.programId);
    setPassUniforms(scene, input, sound);
    setDustFrame(scene.programId, abstractWorldsDustSwirl, sharedUniforms.songPosition, sharedUniforms.partStart);
    std::printf("%-12s %8.3f ms  (part time %.1f, %d draws)\n", "abstract", timePass(scene, quad, framebuffer, sceneDraws),
                partTime, sceneDraws);
    std::fflush(stdout);
  }
  sharedUniforms.miscData = {};
  settings.windowWidth = window.width;
  settings.windowHeight = window.height;
}

// The intro's terrain flight at three part times (fading in, dust starting, all 14 dust
// layers), the pattern's red quad words standing in for the rock texture's.
void benchIntro(const ScreenQuad& quad, uint32_t input, uint32_t sound, uint32_t framebuffer, int draws) {
  const std::string* text = findEmbeddedShader(altIntroFile);
  if (!text) return;
  const std::string* quadsText = findEmbeddedShader(channelQuadsPassPath);
  if (!quadsText) return;
  const ShaderProgram quadsProgram(false, screenQuadVertexSource(), *quadsText, "");
  ChannelQuads rockQuads;
  const uint32_t rockRedQuads = updateChannelQuads(rockQuads, quadsProgram, quad, input, 0, true);
  const int sceneDraws = std::min(draws, 5);  // a ray-marched frame costs far more than a post pass
  const ShaderProgram scene(false, screenQuadVertexSource(), *text, "");
  const float songPosition = sharedUniforms.songPosition;
  for (const float partTime : {2.0f, 12.0f, 30.0f}) {
    sharedUniforms.songPosition = partTime;  // the intro starts with the song
    sharedUniforms.partStart = 0.0f;
    glUseProgram(scene.programId);
    setPassUniforms(scene, input, sound);
    setSampler(scene, "rockRedQuads", rockRedQuads);
    setDustFrame(scene.programId, introDustSwirl, sharedUniforms.songPosition, sharedUniforms.partStart);
    std::printf("%-12s %8.3f ms  (part time %.1f, %d draws)\n", "intro", timePass(scene, quad, framebuffer, sceneDraws),
                partTime, sceneDraws);
    std::fflush(stdout);
  }
  sharedUniforms.songPosition = songPosition;
  deleteChannelQuads(rockQuads);
}

}  // namespace

int main(int argc, char** argv) {
  const int draws = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
  const int quality = argc > 2 ? std::atoi(argv[2]) : 0;
  const SizeWH size = renderSizeForQuality(quality);
  settings.renderWidth = size.width;
  settings.renderHeight = size.height;
  settings.windowWidth = size.width;
  settings.windowHeight = size.height;
  if (!openContext()) return 1;

  sharedUniforms.songPosition = 42.5f;
  sharedUniforms.apply_bloom = true;
  sharedUniforms.bloom_threshold1 = 0.47f;
  sharedUniforms.bloom_threshold2 = 0.2f;
  sharedUniforms.crt_threshold = 1.4f;
  for (size_t i = 0; i < sharedUniforms.fft.size(); ++i) sharedUniforms.fft[i] = 0.1f;

  const ScreenQuad quad = createScreenQuad();
  const uint32_t input = patternTexture(size.width, size.height);
  const uint32_t framebuffer = createFramebuffer(createRenderTexture());
  const uint32_t sound = createSoundTexture(sharedUniforms.fft.data());
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);

  std::printf("post passes at %d x %d, %d draws each (GL renderer: %s)\n", size.width, size.height, draws,
              reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
  for (const PostPassFile& pass : postPassFiles) {
    if (pass.path == lightShaftsPassPath) {  // the mask's quad words, then the shafts
      benchTwoHalves(pass.name, channelQuadsPassPath, pass.path, createWordRenderTexture(), "alphaQuads",
                     {quad, input, sound, framebuffer, draws});
      continue;
    }
    const std::string* text = findEmbeddedShader(pass.path);
    if (!text) {
      std::printf("%-12s missing\n", pass.name);
      continue;
    }
    const ShaderProgram program(false, screenQuadVertexSource(), *text, "");
    glUseProgram(program.programId);
    setPassUniforms(program, input, sound);
    std::printf("%-12s %8.3f ms\n", pass.name, timePass(program, quad, framebuffer, draws));
    std::fflush(stdout);
  }
  benchIntro(quad, input, sound, framebuffer, draws);
  benchAbstractWorlds(quad, input, sound, framebuffer, draws);
  benchTentacles(quad, input, sound, framebuffer, draws);
  benchMeta(quad, input, sound, framebuffer, draws);
  benchGreets(quad, input, sound, framebuffer, draws);
  return 0;
}
