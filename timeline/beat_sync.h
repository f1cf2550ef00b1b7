// The beat-sync list: timed actions that start flashes, fades and pulses, the cursor that
// fires them in time order, and the one registered handler.
// Owns: beatSync (writers: buildBeatSyncList, positionSyncCursor, dispatchBeatSync,
// registerBeatSyncCallback). Does NOT advance the fades: timeline/fades does, every frame.
#pragma once
#include <cstddef>
#include <functional>
#include <vector>

// What an action starts, by the integer that the list stores in SyncAction::type. The built list
// holds every type but Property, WhiteToBlack and FadeFromBlack; the handler carries those out
// all the same when an item holds one.
enum class SyncActionType : int {
  FadeToWhite = 1,
  LerpOne = 2,
  LerpTwo = 3,
  FadeToBlack = 4,       // clears the hold and reports its time
  Property = 5,          // sets propertyData[0]
  WhiteToBlack = 6,      // stops the fade to white and starts the fade to black, silently
  LightPulse = 7,
  CrtPulse = 8,
  LerpThree = 9,
  HeldFadeToBlack = 10,  // black stays until the hold is cleared
  FadeFromBlack = 11,    // clears the hold, reports its time, fills a record nothing reads
  IntroPulse = 12,
};

struct SyncAction {
  int type;     // a SyncActionType; any other value is ignored by the handler
  float value;  // start value of the fade or pulse
  float rate;   // fall per second (time ramps) or per frame (frame decays)
};

inline SyncActionType syncActionType(const SyncAction& action) { return static_cast<SyncActionType>(action.type); }

struct BeatSyncItem {
  float time;
  std::vector<SyncAction> actions;  // applied in order
};

using BeatSyncCallback = std::function<void(BeatSyncItem)>;

struct BeatSyncState {
  std::vector<BeatSyncItem> items;  // after building: times distinct and ascending
  size_t cursor = 0;                // index of the next item to fire
  BeatSyncCallback callback;
};

extern BeatSyncState beatSync;

// Appends the action to the item whose time equals `time` exactly, or to a new item.
void addSyncAction(std::vector<BeatSyncItem>& items, float time, SyncActionType type, float value, float rate);
// The full list: the beat grid, then the fixed actions, sorted by time.
std::vector<BeatSyncItem> makeBeatSyncList();

void buildBeatSyncList();  // fills beatSync.items and resets the cursor
void registerBeatSyncCallback(BeatSyncCallback callback);
// Points the cursor at the first item with time >= t and returns its index; returns -1 and
// leaves the cursor alone when there is none.
long positionSyncCursor(float t);
// Fires at most one due item (time <= t) through the callback.
void dispatchBeatSync(float t);
// The handler the demo registers: turns each action into the start of a fade or pulse.
void beatSyncHandler(BeatSyncItem item);
