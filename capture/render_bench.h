// The frame benchmark of tarvik-render (--bench): a few frames in the middle of each of the
// eight parts, drawn the way the offline renderer draws them, with GPU timestamps around every
// pass; prints the GL renderer, the settings, the song times sampled and the report (per pass
// and part the median, min and max GPU milliseconds, their sum, the wall time per frame and
// the engine overhead), writes it as CSV with --csv and compares with --compare.
// Does NOT write pictures.
#pragma once

struct OfflineOptions;

// The process exit status: 0 after printing the report, 1 after one line on stderr,
// 128 + the signal's number after a stop request.
int runRenderBench(const OfflineOptions& options);
