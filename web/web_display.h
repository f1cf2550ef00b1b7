// The browser's window and GL context: a WebGL2 context on the page's canvas, and the scenes
// built on it.
// Owns: the context (writer: openWebDisplay, once per page).
// Does NOT size the canvas on the page (the page's style does) or draw.
#pragma once
#include <string>

// Creates the context on "#canvas" with a drawing buffer of width x height, makes it current
// and turns on float render targets; `keepPicture` keeps the drawn buffer for a screenshot.
// Empty on success, else the one sentence the page shows.
std::string openWebDisplay(int width, int height, bool keepPicture);
// Gives the canvas a drawing buffer of width x height and the settings the new window size.
void resizeWebDisplay(int width, int height);
// openWebDisplay, then every scene's programs and the frame's render targets, built from the
// embedded shaders under whatever build hook the caller set. Empty on success, else the one
// sentence the page shows.
std::string openWebScenes(int width, int height, bool keepPicture);
