// The offline frame renderer: writes the frames of the demo at chosen song times as PNGs.
// Its clock is the frame counter (frame k at k / fps); the spectrum comes from the decoded
// music at each frame's song time.
#pragma once

struct OfflineOptions;

// Returns the process exit status: 0 after the closing line, 1 after one line on stderr,
// 128 + the signal's number after a stop request.
int runOfflineRender(const OfflineOptions& options);
