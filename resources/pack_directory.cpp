// The fixed pack directory and load list.
#include "resources/pack_directory.h"

const std::array<PackEntry, 20> packDirectory = {{
    {0, 149483, "DirtRockTerrain.jpg"},
    {149483, 35909, "overlay.png"},
    {185392, 15706, "bubble2.png"},
    {201098, 22163, "gtext1.png"},
    {223261, 19163, "gtext2.png"},
    {242424, 23401, "gtext3.png"},
    {265825, 120869, "border1.png"},
    {386694, 68317, "border2.png"},
    {455011, 299608, "tarviklogo1080p.png"},
    {754619, 47339, "cube.jpg"},
    {801958, 67251, "smalllogo.png"},
    {869209, 14797, "intro1.png"},
    {884006, 12016, "intro2.png"},
    {896022, 20387, "intro3.png"},
    {916409, 6807, "credits1.png"},
    {923216, 5420, "credits2.png"},
    {928636, 4866, "credits3.png"},
    {933502, 3439, "endlogo.png"},
    {936941, 58592, "border3.png"},
    {995533, 185, "blank.png"},
}};

namespace {
constexpr PackWrap D = PackWrap::Default;
constexpr PackWrap R = PackWrap::Repeat;
constexpr PackWrap C = PackWrap::ClampToEdge;
}  // namespace

const std::array<PackSlot, 29> packLoadList = {{
    {"DirtRockTerrain.jpg", false, D},  // 0
    {"blank.png", false, D},            // 1
    {"blank.png", false, D},            // 2
    {"blank.png", false, D},            // 3
    {"blank.png", true, D},             // 4
    {"blank.png", false, D},            // 5
    {"blank.png", true, R},             // 6
    {"overlay.png", true, D},           // 7
    {"blank.png", false, D},            // 8
    {"blank.png", false, D},            // 9
    {"bubble2.png", true, C},           // 10
    {"blank.png", false, D},            // 11
    {"gtext1.png", true, C},            // 12
    {"gtext2.png", true, C},            // 13
    {"gtext3.png", true, C},            // 14
    {"border1.png", true, D},           // 15
    {"border2.png", true, D},           // 16
    {"tarviklogo1080p.png", true, D},   // 17
    {"cube.jpg", true, D},              // 18
    {"smalllogo.png", true, C},         // 19
    {"intro1.png", true, C},            // 20
    {"intro2.png", true, C},            // 21
    {"intro3.png", true, C},            // 22
    {"credits1.png", true, C},          // 23
    {"credits2.png", true, C},          // 24
    {"credits3.png", true, C},          // 25
    {"blank.png", true, C},             // 26
    {"endlogo.png", true, D},           // 27
    {"border3.png", true, D},           // 28
}};

const PackEntry* findPackEntry(const std::string& name) {
  for (const PackEntry& entry : packDirectory)
    if (entry.name == name) return &entry;
  return nullptr;
}
