// One frame of the live demo, the same on the desktop and in the browser: the part table
// follows the song clock, then the frame step draws into the window.
// Does NOT read the clock, take events or present: each platform's loop does, around this.
#pragma once

// Draws the frame at song time t; false once t is past the demo's end (that frame is still
// drawn), when the caller stops the music and ends the run.
bool drawDemoFrame(float t);
