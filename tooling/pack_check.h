// The tools' check of the resource pack before they render: a still or a benchmark made with
// stand-in textures would silently differ from the demo's pictures, so the tools refuse it.
// Does NOT upload anything: resources/pack_loader does that once the check has passed.
#pragma once
#include <string>

// The first problem of the pack at `path`, in one line: it does not open as a regular file, or
// an entry of the directory (in pack order) does not decode. Empty when every entry decodes.
std::string packProblem(const std::string& path);
