// The shader folder watched off the frame's path: a thread polls ./shaders/ a few times a
// second and queues what changed; the frame thread takes the queue without waiting on a poll.
// A poll of a very large folder spaces the next one out, so the watcher never takes more than
// a tenth of a core.
// Owns: the thread, the watcher (behind its mutex) and the queue (behind its own).
// Does NOT rebuild anything and needs no GL.
#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "studio/watch.h"

class ShaderWatchThread {
 public:
  explicit ShaderWatchThread(std::string folder) : watcher_(std::move(folder)) {}
  ~ShaderWatchThread() { stop(); }
  ShaderWatchThread(const ShaderWatchThread&) = delete;
  ShaderWatchThread& operator=(const ShaderWatchThread&) = delete;

  // Takes stock of the folder on the calling thread, then starts polling it every `every` (at
  // the least). The files that cannot be read from the start.
  ShaderFileChanges start(std::chrono::milliseconds every);
  void stop();
  // What the thread found since the last call; a later change of a path replaces an earlier.
  ShaderFileChanges take();
  // Polls now on the calling thread; with what was queued.
  ShaderFileChanges pollNow();

 private:
  void run(std::chrono::milliseconds every);
  void queue(const ShaderFileChanges& changes);

  std::mutex pollMutex_;
  ShaderFolderWatcher watcher_;
  std::mutex queueMutex_;
  ShaderFileChanges queued_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::thread thread_;
};
