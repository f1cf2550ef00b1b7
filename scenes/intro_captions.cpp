// The intro caption timetable: three cards, each faded in and out over a second.
#include "scenes/intro_captions.h"

#include "resources/pack_directory.h"

namespace {

struct CaptionWindow {
  int packSlot;
  float fadeInStart;  // fully shown from fadeInStart + 1 to fadeOutStart
  float fadeOutStart;
};

constexpr int firstCaption = firstIntroCaptionSlot;
constexpr CaptionWindow captionWindows[] = {
    {firstCaption, 8.0f, 20.0f}, {firstCaption + 1, 24.0f, 34.0f}, {firstCaption + 2, 38.0f, 48.0f}};

}  // namespace

IntroCaption introCaptionAt(float t) {
  if (t <= 8.0f) return {firstCaption, 0.0f};
  if (t >= 21.0f && t < 24.0f) return {-1, 0.0f};  // between the first two cards nothing is bound
  int slot = firstCaption;
  for (const CaptionWindow& w : captionWindows) {
    if (t < w.fadeInStart) return {slot, 0.0f};
    slot = w.packSlot;
    if (t < w.fadeInStart + 1.0f) return {slot, t - w.fadeInStart};
    if (t < w.fadeOutStart) return {slot, 1.0f};
    if (t < w.fadeOutStart + 1.0f) return {slot, 1.0f - (t - w.fadeOutStart)};
  }
  return {firstCaption + 2, 0.0f};
}
