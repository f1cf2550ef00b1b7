// The built-in directory of the resource pack "./data.vx", the 29-slot load list and the names
// of the slots that scenes sample.
// Owns: the fixed tables (built during static construction, never changed).
// Does NOT open the pack or decode images: resources/pack_loader does.
#pragma once
#include <array>
#include <cstddef>
#include <string>

struct PackEntry {
  int offset;        // byte offset from the start of the pack; -1 marks an absent entry
  int size;          // length of the image file in bytes
  std::string name;  // compared exactly, case-sensitive
};

// Rows tile the pack: each offset is the previous offset plus its size.
extern const std::array<PackEntry, 20> packDirectory;
constexpr int packFileSize = 995718;
inline const char* packFilePath = "./data.vx";

enum class PackWrap { Default, Repeat, ClampToEdge };

struct PackSlot {
  const char* image;
  bool flip;
  PackWrap wrap;
};

// Index = slot in packTextures; "blank.png" rows are separate textures.
extern const std::array<PackSlot, 29> packLoadList;

// The slots that scenes sample, by the image each holds. The others hold a "blank.png" or the
// "overlay.png" that no scene samples.
inline constexpr size_t terrainSlot = 0;             // "DirtRockTerrain.jpg", the intro's relief noise
inline constexpr size_t bubbleSlot = 10;             // "bubble2.png", the tentacles' particle sprite
inline constexpr size_t firstGreetsTextSlot = 12;    // "gtext1.png", then "gtext2.png" and "gtext3.png"
inline constexpr size_t border1Slot = 15;            // "border1.png", the intro's overlay
inline constexpr size_t border2Slot = 16;            // "border2.png", overlay of abstract worlds, tentacles, menger
inline constexpr size_t logoSlot = 17;               // "tarviklogo1080p.png", the full-screen logo
inline constexpr size_t cubeSlot = 18;               // "cube.jpg", mirrored in the menger objects
inline constexpr size_t smallLogoSlot = 19;          // "smalllogo.png", the tentacles' logo sprite
inline constexpr size_t firstIntroCaptionSlot = 20;  // "intro1.png", then "intro2.png" and "intro3.png"
inline constexpr size_t firstCreditsSlot = 23;       // "credits1.png", then "credits2.png" and "credits3.png"
inline constexpr size_t endLogoSlot = 27;            // "endlogo.png"
inline constexpr size_t border3Slot = 28;            // "border3.png", overlay of both greets parts and the logo

// The directory row of `name` (exact match), or nullptr.
const PackEntry* findPackEntry(const std::string& name);
