// The thread a whole GL session runs on (window, context, frames, shader builds): one with a
// stack deep enough for the GL's shader compiler. Mesa's GLSL front end recurses once per
// operator of an expression, about 420 bytes a level, so one sum of 20,000 terms overruns the
// default 8 MiB stack and kills the process inside glCompileShader.
// Owns: glSessionStackBytes and runGlSession. Does NOT touch GL itself.
#pragma once
#include <cstddef>
#include <functional>

// Address space, not memory: pages are committed only as deep as the compiler goes. The
// longest shader file read (1 MiB, a sum of 250,000 terms) needs about 110 MiB.
inline constexpr size_t glSessionStackBytes = size_t{1} << 30;

// Runs `session` on a new thread with a glSessionStackBytes stack and returns its result once
// it ends. When no such thread can be made, says so in one line on stderr and runs `session`
// on the calling thread.
int runGlSession(const std::function<int()>& session, size_t stackBytes = glSessionStackBytes);
