// The ray-marching snippet library under shaders/lib/: the declaration rule (only the headers
// declare uniforms and outputs, no snippet includes anything), the comment each snippet opens
// with, and the whole library assembled with each builder scene's parameters compiling and
// linking on the core-profile test context.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "render/embedded_shaders.h"
#include "render/shader_program.h"
#include "render/shader_source_builder.h"
#include "render/screen_quad.h"
#include "tests/support/gl_context.h"

namespace {

const std::string libPrefix = "./shaders/lib/";

bool endsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// basic.glsl heads the assembled scenes; *_header.glsl head the post passes and composites.
bool isHeader(const std::string& path) {
  return path == libPrefix + "basic.glsl" || endsWith(path, "_header.glsl");
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string firstWord(const std::string& line) {
  std::istringstream in(line);
  std::string word;
  in >> word;
  return word;
}

std::vector<std::string> libraryPaths() {
  std::vector<std::string> paths;
  for (const auto& [path, text] : embeddedShaders())
    if (path.rfind(libPrefix, 0) == 0) paths.push_back(path);
  return paths;
}

// The six extra snippets, in the order the abstract worlds scene adds them (the other two
// scenes use a subset in the same order).
const std::vector<std::string> extraSnippets = {"axis_rotation.glsl", "simplex_noise.glsl", "cheap_fog.glsl",
                                                "mist.glsl",          "voronoi.glsl",        "texture_noise.glsl"};

struct SceneRow {
  const char* name;
  float gamma, fov;
  int iterations;
  float stepSize, clipNear, clipFar;
  int lights;
  bool voronoi;
};

const SceneRow sceneRows[] = {
    {"abstract worlds", 1.16f, 0.75f, 128, 0.4f, 0.01f, 30.0f, 2, true},
    {"tentacles", 0.86f, 0.45f, 128, 0.3f, 0.01f, 30.0f, 1, false},
    {"greets", 0.86f, 0.5f, 200, 0.5f, 0.001f, 60.0f, 1, false},
};

// A scene file that reaches every function of the library, so a typo anywhere fails the
// compile, and a map that counts a glow accumulator the way the greets scene does.
const char* probeScene = R"(
float glow = 0.0;
vec2 map(vec3 p)
{
    vec3 q = rotateY(rotateX(rotateZ(p, 0.1), 0.2), 0.3) * axisRotation(vec3(1.0, 1.0, 0.0), 0.4);
    float cellX = pModInterval1(q.x, 3.0, 0.0, 2.0);
    float cellZ = pMod1(q.z, 4.0);
    vec3 r = pModCentred(p, vec3(14.0));
    float d = sminP(sdBox(q, vec3(0.5)), sdSphere(r, 1.0));
    d = opDifference(sdRoundBox(q, vec3(0.2), 0.05), d);
    d = min(d, sdChebyshevBox(p, vec3(0.0, 1.0, 0.0), vec3(0.02, 0.02, 3.0)) + boxMaxNorm(p, vec3(1.0)) * 0.0);
    d = min(d, sdVerticalCylinder(p, vec2(0.6), 0.6) + 0.1 * simplexNoise3(p) + 0.1 * fbmSimplex3(p, 2));
    glow += 0.1 / (0.1 + d * d);
    return opUnion(vec2(d, MATERIAL_CUBE), vec2(p.y + 1.0 + cellX * cellZ * 0.0, MATERIAL_GROUND));
}

void main()
{
    vec2 uv = aspectUv() + centredUv() * 0.0;
    vec3 ro = orbitCamera(vec3(0.0), 12.0, vec2(100.0, 40.0));
    vec3 rd = lookAtRay(ro, vec3(0.0), uv, FOV);
    vec2 hit = rayMarch(ro, rd);
    vec3 p = ro + rd * hit.x;
    vec3 n = calcNormal(p);
    PointLight lights[LIGHTS];
    for (int i = 0; i < LIGHTS; ++i)
        lights[i] = PointLight(vec3(2.0, 1.0, float(i)), vec3(1.0), 2.0);
    vec3 c = shadeLights(lights, materialFor(hit.y), vec3(0.5), p, n, -rd);
    c = applyFog(c, vec3(0.6, 0.3, 0.2), hit.x) * fogAmount(hit.x);
    float mist = mistAlongRay(ro, rd, hit.x, lights[0].position, time);
    c = mistBlend(c, vec3(0.6, 0.3, 0.2), rd, normalize(lights[0].position - ro), mist, 1.0);
    vec3 eye, ray, straightEye;
    dustCamera(partTime, uv, eye, ray, straightEye);
    c += dustLayers(eye, ray, 10, length(straightEye - eye), 10.0, 0.2 * partTime) * 0.1;
    c += flareGhostRings(uv, vec2(0.5, -1.0)) * flareFalloff(uv, vec2(0.5, -1.0));
    c += vec3(valueNoise2(uv) + valueNoise3(p) + fbmValue2(uv, 3) + fbmValue3(p, 3) + simplexNoise2(uv)) * 0.01;
    c += glow * 0.001 + hash11(1.0) * 0.0 + dustDots(p, 1.0) * 0.0;
    c = lensVignette(filmicToneMap(c, 2.0, 3.0), uv, 1.75);
    fragColor = vec4(gammaCorrect(c), float(iterationsCount) / float(rayMarchIterations));
}
)";

std::string assemble(const SceneRow& row) {
  ShaderSourceBuilder builder;
  builder.files = ShaderFiles::Embedded;
  builder.begin(row.gamma)
      .addRaymarching(row.fov, row.iterations, row.stepSize, row.clipNear, row.clipFar)
      .addLights(row.lights);
  for (const std::string& snippet : extraSnippets)
    if (row.voronoi || snippet != "voronoi.glsl") builder.addFile(libPrefix + snippet);
  builder.lines.push_back(probeScene);
  return builder.build();
}

}  // namespace

TEST(ShaderLibrary, SnippetsDeclareNoUniformsOutputsOrIncludes) {
  const std::vector<std::string> paths = libraryPaths();
  ASSERT_GE(paths.size(), 12u);
  for (const std::string& path : paths) {
    if (isHeader(path)) continue;
    for (const std::string& line : linesOf(*findEmbeddedShader(path))) {
      const std::string word = firstWord(line);
      EXPECT_NE(word, "uniform") << path << ": " << line;
      EXPECT_NE(word, "out") << path << ": " << line;
      EXPECT_NE(word, "in") << path << ": " << line;
      EXPECT_NE(word, "#include") << path << ": " << line;
      EXPECT_NE(word, "#version") << path << ": " << line;
    }
  }
}

TEST(ShaderLibrary, HeadersIncludeNothing) {
  for (const std::string& path : libraryPaths()) {
    if (!isHeader(path)) continue;
    for (const std::string& line : linesOf(*findEmbeddedShader(path)))
      EXPECT_NE(firstWord(line), "#include") << path << ": " << line;
  }
}

TEST(ShaderLibrary, EverySnippetOpensWithItsComment) {
  for (const std::string& path : libraryPaths()) {
    std::vector<std::string> lines = linesOf(*findEmbeddedShader(path));
    if (!lines.empty() && lines[0] == "#version 140") lines.erase(lines.begin());
    ASSERT_FALSE(lines.empty()) << path;
    EXPECT_EQ(lines[0].rfind("// ", 0), 0u) << path << " opens with: " << lines[0];
  }
}

TEST(ShaderLibrary, RayMarchingSnippetsSayWhatTheyProvideAndExpect) {
  for (const char* name : {"basic.glsl", "gamma.glsl", "materials.glsl", "raymarchingtools.glsl", "raymarching.glsl",
                           "light.glsl", "axis_rotation.glsl", "simplex_noise.glsl", "cheap_fog.glsl", "mist.glsl",
                           "voronoi.glsl", "texture_noise.glsl"}) {
    const std::string* text = findEmbeddedShader(libPrefix + name);
    ASSERT_NE(text, nullptr) << name;
    EXPECT_NE(text->find("// Provides:"), std::string::npos) << name;
    EXPECT_NE(text->find("// Expects:"), std::string::npos) << name;
  }
}

TEST(ShaderLibrary, BasicHeaderDeclaresEverySharedUniformOnceAndTheOutput) {
  const std::vector<std::string> lines = linesOf(*findEmbeddedShader(libPrefix + "basic.glsl"));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "#version 140");
  int uniforms = 0, outputs = 0;
  for (const std::string& line : lines) {
    if (firstWord(line) == "uniform") ++uniforms;
    if (line == "out vec4 fragColor;") ++outputs;
  }
  EXPECT_EQ(uniforms, 39) << "the 38 shared uniforms and the sound texture";
  EXPECT_EQ(outputs, 1);
}

class ShaderLibraryGl : public GlTest {};

TEST_F(ShaderLibraryGl, WholeLibraryCompilesForEachBuilderScene) {
  for (const SceneRow& row : sceneRows) {
    const std::string text = assemble(row);
    GLuint program = 0;
    const std::string report =
        captureStdout([&] { program = ShaderProgram(false, screenQuadVertexSource(), text, "").programId; });
    EXPECT_EQ(report, "") << row.name;
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE) << row.name;
    glDeleteProgram(program);
  }
}
