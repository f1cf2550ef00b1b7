// The one stand-in frame of a scene still without its own picture: black framebuffer 0
// copied to the window. Does NOT run any pass.
#pragma once
#include "render/gl_lists.h"
#include "render/screen_quad.h"

void drawInterimFrame(const GLNameList& frameBuffers, const GLNameList& renderTextures, const ScreenQuad& quad);
