// The key map of the studio.
#include "studio/keys.h"

#include <SDL2/SDL_keycode.h>

namespace {

constexpr float shortSeek = 1.0f;
constexpr float longSeek = 10.0f;

StudioAction command(StudioCommand c) { return {c, 0.0f, -1}; }

// Digits 1 to 8 on the main row or the keypad: demo part indices 0 to 7; -1 for any other key.
int partOfDigitKey(int32_t keycode) {
  if (keycode >= SDLK_1 && keycode <= SDLK_8) return keycode - SDLK_1;
  if (keycode >= SDLK_KP_1 && keycode <= SDLK_KP_8) return keycode - SDLK_KP_1;
  return -1;
}

StudioAction seekAction(int32_t keycode, uint16_t modifiers) {
  const float step = (modifiers & KMOD_SHIFT) ? longSeek : shortSeek;
  return {StudioCommand::Seek, keycode == SDLK_LEFT ? -step : step, -1};
}

}  // namespace

StudioAction actionForKey(int32_t keycode, uint16_t modifiers, bool repeat) {
  if (keycode == SDLK_LEFT || keycode == SDLK_RIGHT) return seekAction(keycode, modifiers);
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
      {"Page Up / Page Down", "start of the previous / next part"},
      {"1 .. 8", "start of part 1 .. 8"},
      {"L", "loop the current part, or the [ ] range"},
      {"[ / ]", "set the loop range start / end here"},
      {"R", "reload every scene's shaders now"},
      {"T", "timing overlay on / off"},
      {"H / F1", "this help on / off"},
      {"Escape", "quit"},
  };
  return help;
}
