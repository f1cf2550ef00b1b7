// Building and firing the beat-sync list, and the handler that starts fades and pulses.
#include "timeline/beat_sync.h"

#include <algorithm>
#include <iostream>

#include "render/shared_uniforms.h"
#include "timeline/fades.h"

BeatSyncState beatSync;

void addSyncAction(std::vector<BeatSyncItem>& items, float time, SyncActionType type, float value, float rate) {
  const SyncAction action{static_cast<int>(type), value, rate};
  for (BeatSyncItem& item : items) {
    if (item.time == time) {
      item.actions.push_back(action);
      return;
    }
  }
  items.push_back({time, {action}});
}

namespace {

using enum SyncActionType;

// Accumulated by repeated float addition: the exact float sums decide which times coincide.
void addBeatGrid(std::vector<BeatSyncItem>& items) {
  float lerpOneTime = 0.276f;
  float lerpThreeTime = 0.276f;
  float lightTime = 15.045f;
  float lerpTwoTime = 0.051f;
  float crtTime = 73.228f;
  const float lightStep = 0.9129999279975891f;
  const float crtStep = 3.7350032329559326f;
  for (int step = 0; step < 260; ++step) {
    addSyncAction(items, lerpOneTime, LerpOne, 1.2f, 0.45f);
    if (lerpThreeTime > 54.0f) addSyncAction(items, lerpThreeTime, LerpThree, 1.2f, 0.5f);
    const double light = lightTime;
    if ((light > 42.6 && light < 55.9) || light >= 56.0) addSyncAction(items, lightTime, LightPulse, 1.0f, 0.05f);
    addSyncAction(items, lerpTwoTime, LerpTwo, 1.2f, 0.05f);
    addSyncAction(items, crtTime, CrtPulse, 1.0f, 0.05f);
    lerpOneTime += 3.634f;
    lerpThreeTime += 7.268f;
    lightTime += lightStep;
    lerpTwoTime += 0.40625f;
    crtTime += crtStep;
  }
}

void addFixedActions(std::vector<BeatSyncItem>& items) {
  struct Fixed {
    float time;
    SyncActionType type;
    float value;
    float rate;
  };
  static const Fixed fixed[] = {
      {27.448f, LerpThree, 1.2f, 0.85f},        {41.227f, LerpThree, 1.2f, 0.85f},
      {13.697f, IntroPulse, 1.2f, 0.7f},        {36.92f, IntroPulse, 1.2f, 0.7f},
      {53.797f, HeldFadeToBlack, 1.0f, 1.0f},   {81.8f, FadeToBlack, 1.0f, 0.8f},
      {108.749f, FadeToWhite, 1.0f, 1.0f},      {78.476f, IntroPulse, 1.2f, 0.7f},
      {106.755f, IntroPulse, 1.2f, 0.7f},       {111.459f, LerpOne, 0.1f, 0.05f},
      {123.266f, FadeToBlack, 1.0f, 1.5f},      {137.766f, FadeToBlack, 1.0f, 1.5f},
      {150.909f, HeldFadeToBlack, 1.0f, 1.5f},  {151.909f, FadeToBlack, 1.0f, 4.0f},
      {157.764f, FadeToWhite, 1.0f, 5.25f},     {164.624f, FadeToBlack, 1.0f, 4.0f},
      {171.479f, FadeToWhite, 1.0f, 5.25f},     {178.339f, FadeToBlack, 1.0f, 4.0f},
      {185.195f, FadeToWhite, 1.0f, 5.25f},     {191.9f, FadeToBlack, 1.0f, 4.0f},
      {194.289f, FadeToWhite, 1.0f, 5.25f},     {216.326f, FadeToWhite, 1.0f, 1.0f},
      {246.908f, FadeToWhite, 1.0f, 0.175f},
  };
  for (const Fixed& f : fixed) addSyncAction(items, f.time, f.type, f.value, f.rate);
}

void startTimeRamp(TimeRamp& ramp, float time, const SyncAction& a) {
  ramp = {time, a.value, a.rate, a.value};
}

void startFadeToBlack(float time, const SyncAction& a) {
  if (fades.blackActive) return;
  fades.blackActive = true;
  fades.fadeToBlack = {time, a.value, a.rate, a.value};
  fades.fadeToBlackValue = a.value;
}

void applyAction(float time, const SyncAction& a) {
  switch (syncActionType(a)) {
    case FadeToWhite:
      if (!fades.whiteActive) {
        fades.whiteActive = true;
        fades.fadeToWhite = {time, a.value, a.rate, a.value};
        fades.fadeToWhiteValue = a.value;
      }
      break;
    case LerpOne: startTimeRamp(fades.lerp1, time, a); break;
    case LerpTwo: fades.lerp2 = {a.value, a.rate}; break;
    case FadeToBlack:
      fades.hold = false;
      startFadeToBlack(time, a);
      std::cout << "startftb: " << time << "\n";
      break;
    case Property: sharedUniforms.propertyData[0] = a.value; break;
    case WhiteToBlack:
      fades.whiteActive = false;
      startFadeToBlack(time, a);
      break;
    case LightPulse: fades.lightPulse = {a.value, a.rate}; break;
    case CrtPulse: fades.crtPulse = {a.value, a.rate}; break;
    case LerpThree: startTimeRamp(fades.lerp3, time, a); break;
    case HeldFadeToBlack:
      fades.hold = true;
      startFadeToBlack(time, a);
      std::cout << "startftb-stay: " << time << "\n";
      break;
    case FadeFromBlack:
      fades.hold = false;
      if (!fades.fadeFromBlackActive) startTimeRamp(fades.fadeFromBlack, time, a);
      std::cout << "startftb: " << time << "\n";
      break;
    case IntroPulse: startTimeRamp(fades.introPulse, time, a); break;
    default: break;
  }
}

}  // namespace

std::vector<BeatSyncItem> makeBeatSyncList() {
  std::vector<BeatSyncItem> items;
  addBeatGrid(items);
  addFixedActions(items);
  std::sort(items.begin(), items.end(),
            [](const BeatSyncItem& a, const BeatSyncItem& b) { return a.time < b.time; });
  return items;
}

void buildBeatSyncList() {
  beatSync.items = makeBeatSyncList();
  beatSync.cursor = 0;
}

void registerBeatSyncCallback(BeatSyncCallback callback) { beatSync.callback = std::move(callback); }

long positionSyncCursor(float t) {
  for (size_t i = 0; i < beatSync.items.size(); ++i) {
    if (beatSync.items[i].time >= t) {
      beatSync.cursor = i;
      return static_cast<long>(i);
    }
  }
  return -1;
}

void dispatchBeatSync(float t) {
  if (beatSync.cursor >= beatSync.items.size()) return;
  const BeatSyncItem& due = beatSync.items[beatSync.cursor];
  if (due.time > t) return;
  ++beatSync.cursor;
  if (beatSync.callback) beatSync.callback(due);
}

void beatSyncHandler(BeatSyncItem item) {
  for (const SyncAction& action : item.actions) applyAction(item.time, action);
}
