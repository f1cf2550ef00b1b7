// The whole pack: which drawing makes each directory image, building all twenty in
// directory order at their exact row sizes, and the file that concatenates them.
// Does NOT define the directory itself (resources/pack_directory.h).
#pragma once
#include <string>
#include <vector>

#include "tools/make_pack/fit.h"

// The drawing for a directory name, or nullptr.
DrawFn drawingFor(const std::string& name);

bool buildPackImages(const ArtContext& art, std::vector<PackImage>& images, std::string& error);
Bytes concatenatePack(const std::vector<PackImage>& images);
bool writeBytes(const std::string& path, const Bytes& bytes, std::string& error);
