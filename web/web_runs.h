// What the page asks of the module: the live demo, a still and the frame benchmark.
// Owns: the live demo's loop state (writers: startDemo, stopDemo, the loop's frames).
// Does NOT fetch files or decode the music: the page has put both in place before any call.
#pragma once
#include <string>

// The demo from 0 s at `quality` (0 low, 1 medium, 2 high) on a width x height canvas, its
// frames driven by the browser; the page's "ended" hook runs once the song passed the end or
// the run is stopped. Empty on success, else the sentence for the page.
std::string startDemo(int quality, int width, int height);
void stopDemo();
// Plays again from 0 s after an end.
void replayDemo();
// The frame at song time `t` exactly as the offline renderer draws it (every frame before
// simulated without drawing), no sound. Empty on success, else the sentence for the page.
std::string drawStill(double t, int width, int height, int quality);
// The frame benchmark of the offline renderer, `frames` measured per part, one frame per browser
// frame; the page's "bench done" hook then gets the report, or the sentence of a failure.
// Empty when it started, else the sentence for the page.
std::string startBench(int quality, int width, int height, int frames);
