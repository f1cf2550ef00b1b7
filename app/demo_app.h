// The demo's start-up order, frame loop and shut-down.
// Owns: the loop's local flags and the mouse-centre pair. Does NOT call GL itself: the
// frame step and the start-up helpers of render/, resources/ and scenes/ do.
#pragma once

// The whole demo; always returns 0.
int runDemo(int argc, const char* const* argv);
