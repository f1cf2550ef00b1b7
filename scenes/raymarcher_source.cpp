// Assembly of the ray-marched scenes' fragment text and their scene program.
#include "scenes/raymarcher_source.h"

#include "render/screen_quad.h"
#include "render/shader_source_builder.h"

std::string raymarcherSource(ShaderFiles files, const RaymarcherConstants& constants, const char* sceneFile) {
  ShaderSourceBuilder builder;
  builder.files = files;
  builder.begin(constants.gamma)
      .addRaymarching(constants.fov, constants.iterations, constants.stepSize, constants.clipNear, constants.clipFar)
      .addLights(constants.lightCount)
      .addFile("./shaders/lib/axis_rotation.glsl")
      .addFile("./shaders/lib/simplex_noise.glsl")
      .addFile("./shaders/lib/cheap_fog.glsl")
      .addFile("./shaders/lib/dust_turns_header.glsl")
      .addFile("./shaders/lib/mist.glsl");
  if (constants.voronoi) builder.addFile("./shaders/lib/voronoi.glsl");
  builder.addFile("./shaders/lib/texture_noise.glsl");
  if (constants.sceneDefine) builder.addDefine(constants.sceneDefine);
  return builder.addFile(sceneFile).build();
}

PassProgram raymarcherProgram(ShaderFiles files, RaymarcherText sceneText) {
  const std::string vertex = files == ShaderFiles::Embedded ? screenQuadVertexSource() : screenQuadVertexPath;
  return std::make_unique<ShaderProgram>(false, vertex, sceneText(files), "");
}
