// What the demo does when its X display goes away mid-run (the server killed or crashed).
// Does NOT cover other video drivers: with them SDL reports a lost display as a window close.
#pragma once

// When SDL runs on X11, a broken connection prints one line and ends the process with
// status 0 through exit(), whose hooks stop the audio thread before statics are destroyed.
void watchDisplayConnection();
