// The key map of the studio.
#include "studio/keys.h"

#include <SDL2/SDL_keycode.h>

namespace {

constexpr float shortSeek = 1.0f;
constexpr float longSeek = 10.0f;
constexpr float fineSeek = 0.1f;

StudioAction command(StudioCommand c) { return {c, 0.0f, -1}; }

// Digits 1 to 8 on the main row or the keypad: demo part indices 0 to 7; -1 for any other key.
int partOfDigitKey(int32_t keycode) {
  if (keycode >= SDLK_1 && keycode <= SDLK_8) return keycode - SDLK_1;
  if (keycode >= SDLK_KP_1 && keycode <= SDLK_KP_8) return keycode - SDLK_KP_1;
  return -1;
}

StudioAction seekAction(int32_t keycode, uint16_t modifiers) {
  const float step = (modifiers & KMOD_ALT) ? fineSeek : (modifiers & KMOD_SHIFT) ? longSeek : shortSeek;
  return {StudioCommand::Seek, keycode == SDLK_LEFT ? -step : step, -1};
}

}  // namespace

StudioAction actionForKey(int32_t keycode, uint16_t modifiers, bool repeat) {
  if (keycode == SDLK_LEFT || keycode == SDLK_RIGHT) return seekAction(keycode, modifiers);
  if (keycode == SDLK_COMMA || keycode == SDLK_PERIOD)
    return {StudioCommand::StepFrame, 0.0f, keycode == SDLK_COMMA ? -1 : 1};
  if (repeat) return {};
  if (const int part = partOfDigitKey(keycode); part >= 0) return {StudioCommand::JumpToPart, 0.0f, part};
  switch (keycode) {
    case SDLK_SPACE: return command(StudioCommand::TogglePause);
    case SDLK_PAGEUP: return command(StudioCommand::PreviousPart);
    case SDLK_PAGEDOWN: return command(StudioCommand::NextPart);
    case SDLK_l: return command(StudioCommand::ToggleLoop);
    case SDLK_LEFTBRACKET: return command(StudioCommand::MarkLoopIn);
    case SDLK_RIGHTBRACKET: return command(StudioCommand::MarkLoopOut);
    case SDLK_r: return command(StudioCommand::ReloadAll);
    case SDLK_MINUS:
    case SDLK_KP_MINUS: return command(StudioCommand::SlowDown);
    case SDLK_EQUALS:
    case SDLK_KP_PLUS: return command(StudioCommand::SpeedUp);
    case SDLK_p: return command(StudioCommand::SaveFrame);
    case SDLK_v: return command(StudioCommand::ExportVideo);
    case SDLK_t: return command(StudioCommand::ToggleTiming);
    case SDLK_h:
    case SDLK_F1: return command(StudioCommand::ToggleHelp);
    case SDLK_ESCAPE: return command(StudioCommand::Quit);
    default: return {};
  }
}

const std::vector<KeyHelp>& studioKeyHelp() {
  static const std::vector<KeyHelp> help = {
      {"Space", "pause / resume (picture and music)"},
      {"Left / Right", "seek 1 s back / forward"},
      {"Shift+Left / Right", "seek 10 s back / forward"},
      {"Alt+Left / Right", "seek 0.1 s back / forward"},
      {", / .", "paused: one frame (1/60 s) back / forward"},
      {"- / =", "speed down / up, 1/4 to 2 times (picture and sound)"},
      {"Page Up / Page Down", "start of the previous / next part"},
      {"1 .. 8", "start of part 1 .. 8"},
      {"L", "loop the current part, or the [ ] range"},
      {"[ / ]", "set the loop range start / end here"},
      {"R", "rebuild every program from ./shaders/ now"},
      {"P", "save the frame to ./captures/tarvik_<time>.png"},
      {"V", "export the loop or part to ./captures/*.mp4"},
      {"Click / drag strip", "seek on the timeline strip at the bottom"},
      {"T", "timing overlay and timeline strip on / off (on at start)"},
      {"H / F1", "this help on / off (off at start)"},
      {"Escape", "quit"},
  };
  return help;
}
