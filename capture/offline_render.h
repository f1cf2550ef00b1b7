// The offline frame renderer: writes the frames of the demo at chosen song times as PNGs.
// Its clock is the frame counter (frame k at k / fps); the spectrum comes from the decoded
// music at each frame's song time.
#pragma once

// Returns the process exit status: 0 on success, 1 after one line on stderr.
int runOfflineRender(int argc, const char* const* argv);
