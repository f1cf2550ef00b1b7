// The display bring-up the offline renderer, its frame benchmark and the studio share, with the
// refusals that must come before any target or output exists: a render size over
// largestRenderSize, a size this GL cannot hold, a pack that does not open or decode.
// Each refusal is one line on stderr starting with the tool's name.
#pragma once
#include <string>

// The largest square render size the tools accept; the largest quality level uses 1280.
constexpr int largestRenderSize = 4096;

// Why the render and window sizes in `settings` cannot be rendered, or empty: the render size
// against largestRenderSize; with `glLimit` > 0 (the smaller of the GL's largest texture and
// renderbuffer sizes) every side against it.
std::string toolSizeProblem(int glLimit);

// Checks the render size and the pack, opens the display (hidden for the offline tools), checks
// the sizes against the GL's limits, then builds every scene's programs. False after one line.
bool openToolDisplay(const char* tool, bool hidden);
