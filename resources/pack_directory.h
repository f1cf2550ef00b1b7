// The built-in directory of the resource pack "./data.vx" and the 29-slot load list.
// Owns: the fixed tables (built during static construction, never changed).
// Does NOT open the pack or decode images: resources/pack_loader does.
#pragma once
#include <array>
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

// The directory row of `name` (exact match), or nullptr.
const PackEntry* findPackEntry(const std::string& name);
