// The studio's keys: which key does what, as plain data, and the help lines listing them.
// Owns: the key map. Does NOT carry the actions out: the session hands them to its parts.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum class StudioCommand {
  None,
  TogglePause,
  Seek,          // by `seconds`
  StepFrame,     // while paused: `part` is -1 (back) or +1 (forward), one frame of the 60 fps grid
  SlowDown,      // halve the speed of picture and sound, down to 1/4
  SpeedUp,       // double it, up to 2
  PreviousPart,
  NextPart,
  JumpToPart,    // to the start of part `part` (0 to 7)
  ToggleLoop,
  MarkLoopIn,
  MarkLoopOut,
  ReloadAll,
  ToggleTiming,
  ToggleHelp,
  SaveFrame,     // P: the picture without overlays to ./captures/
  ExportVideo,   // V: the loop range or the part to ./captures/ through tarvik-render
  Quit,
};

struct StudioAction {
  StudioCommand command = StudioCommand::None;
  float seconds = 0.0f;
  int part = -1;
};

// The action of a key press: SDL key code, SDL modifier state, and whether it is an
// auto-repeat. Only seeks and frame steps repeat while a key is held; toggles ignore repeats.
StudioAction actionForKey(int32_t keycode, uint16_t modifiers, bool repeat);

struct KeyHelp {
  std::string keys;
  std::string action;
};
// The keys in the order the help overlay and the README list them.
const std::vector<KeyHelp>& studioKeyHelp();
