// The window, the GL context and the switch to presentation mode.
// Owns: window and glContext (writer: initDisplay; shutDownDisplay clears window).
// Does NOT draw: the scenes do.
#pragma once
#include <SDL2/SDL.h>

extern SDL_Window* window;
extern SDL_GLContext glContext;

// SDL video, window, GL 3.0 core context, GLEW, vsync and the unused renderer. Prints the
// reason and returns false on a fatal failure.
// `hidden` keeps the window off screen (the offline renderer); only then is a video driver that
// shows nothing (SDL's offscreen or dummy) taken without the user naming it in SDL_VIDEODRIVER.
bool openDisplay(bool hidden = false);
// openDisplay, then every scene's programs (the tools check the GL's limits in between).
bool initDisplay(bool hidden = false);
// Fullscreen (borderless desktop) unless windowed; prints the mode and the display size.
void enterPresentationMode();
// Destroys the window and quits SDL; with quitAudio false SDL's audio is left as it is (a
// wedged output thread that SDL_Quit would wait for forever).
void shutDownDisplay(bool quitAudio = true);
