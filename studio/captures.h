// What the studio writes under ./captures/: P's still of the picture as shown (without
// overlays), and V's video of a range, rendered by tarvik-render as a background child at the
// studio's quality and render size. Each start and end is reported on stdout and in the
// status line; the export's progress shows in the timing block.
// Owns: the export child (through VideoExport) and the path it writes. Does NOT choose the
// range (the transport's loop or part does) nor draw anything.
#pragma once
#include <string>

#include "studio/options.h"
#include "studio/status_line.h"
#include "studio/transport.h"
#include "studio/video_export.h"
#include "studio/window_copy.h"

class StudioCaptures {
 public:
  StudioCaptures(const StudioOptions& options, StatusLine& status) : options_(options), status_(status) {}

  // The picture at song time `t`.
  void saveFrame(const WindowCopy& picture, float t);
  void startExport(const TimeRange& range);
  // Reports the end of a running export.
  void poll();
  // "captures/x.mp4 frame 120/600 (20%)" while an export runs, else empty.
  std::string progress() const;
  void stop() { export_.stop(); }

 private:
  StudioOptions options_;
  StatusLine& status_;
  VideoExport export_;
  std::string exportTarget_;
};
