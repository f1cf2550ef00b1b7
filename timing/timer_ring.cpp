// The timestamp ring.
#include "timing/timer_ring.h"

#include <algorithm>

TimerRing::TimerRing(QueryBackend& backend, int frames) : backend_(backend), slots_(std::max(frames, 1)) {}

uint32_t TimerRing::nextQuery(Slot& slot) {
  if (slot.used == slot.queries.size()) slot.queries.push_back(backend_.create());
  return slot.queries[slot.used++];
}

bool TimerRing::allAvailable(const Slot& slot) {
  for (size_t i = 0; i < slot.used; ++i)
    if (!backend_.available(slot.queries[i])) return false;
  return true;
}

void TimerRing::publish(Slot& slot) {
  std::vector<PassTime> passes;
  for (const Mark& mark : slot.marks) {
    // A pass whose end was never stamped has no time.
    if (!mark.ended) continue;
    const uint64_t begin = backend_.nanoseconds(mark.begin);
    const uint64_t end = backend_.nanoseconds(mark.end);
    passes.push_back({mark.name, end > begin ? static_cast<double>(end - begin) / 1.0e6 : 0.0});
  }
  if (slot.frame > latestFrame_) {
    latest_ = std::move(passes);
    latestFrame_ = slot.frame;
  }
  slot.state = Slot::State::Free;
}

void TimerRing::collect() {
  std::vector<Slot*> pending;
  for (Slot& slot : slots_)
    if (slot.state == Slot::State::Pending) pending.push_back(&slot);
  std::sort(pending.begin(), pending.end(), [](const Slot* a, const Slot* b) { return a->frame < b->frame; });
  for (Slot* slot : pending)
    if (allAvailable(*slot)) publish(*slot);
}

void TimerRing::beginFrame() {
  collect();
  recording_ = nullptr;
  for (Slot& slot : slots_) {
    if (slot.state != Slot::State::Free) continue;
    recording_ = &slot;
    break;
  }
  const long frame = frameCounter_++;
  if (!recording_) {
    ++skipped_;
    return;
  }
  recording_->state = Slot::State::Recording;
  recording_->frame = frame;
  recording_->used = 0;
  recording_->marks.clear();
}

void TimerRing::markPass(const std::string& name, bool begin) {
  if (!recording_) return;
  const uint32_t query = nextQuery(*recording_);
  backend_.stamp(query);
  if (begin) {
    recording_->marks.push_back({name, query, 0, false});
  } else if (!recording_->marks.empty() && !recording_->marks.back().ended) {
    recording_->marks.back().end = query;
    recording_->marks.back().ended = true;
  }
}

void TimerRing::endFrame() {
  if (!recording_) return;
  recording_->state = Slot::State::Pending;
  recording_ = nullptr;
}
