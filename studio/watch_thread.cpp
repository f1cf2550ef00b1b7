// The watcher's thread and its queue.
#include "studio/watch_thread.h"

#include <algorithm>
#include <utility>

ShaderFileChanges ShaderWatchThread::start(std::chrono::milliseconds every) {
  stop();
  const ShaderFileChanges refused = pollNow();
  stopping_ = false;
  thread_ = std::thread([this, every] { run(every); });
  return refused;
}

void ShaderWatchThread::stop() {
  if (!thread_.joinable()) return;
  {
    const std::lock_guard<std::mutex> lock(queueMutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void ShaderWatchThread::run(std::chrono::milliseconds every) {
  using Clock = std::chrono::steady_clock;
  Clock::duration pause = every;
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(queueMutex_);
      if (wake_.wait_for(lock, pause, [this] { return stopping_; })) return;
    }
    const Clock::time_point start = Clock::now();
    {
      // Queued under the poll's lock, so a pollNow cannot slip an older change after a newer.
      const std::lock_guard<std::mutex> lock(pollMutex_);
      queue(watcher_.poll());
    }
    pause = std::max<Clock::duration>(every, 9 * (Clock::now() - start));
  }
}

void ShaderWatchThread::queue(const ShaderFileChanges& changes) {
  const std::lock_guard<std::mutex> lock(queueMutex_);
  for (const auto& [path, change] : changes) queued_[path] = change;
}

ShaderFileChanges ShaderWatchThread::take() {
  const std::lock_guard<std::mutex> lock(queueMutex_);
  return std::exchange(queued_, {});
}

ShaderFileChanges ShaderWatchThread::pollNow() {
  const std::lock_guard<std::mutex> lock(pollMutex_);
  queue(watcher_.poll());
  return take();
}
