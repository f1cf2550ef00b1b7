// Progress lines of the offline renderer.
#include "capture/progress_line.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>

namespace {
constexpr long plainSteps = 20;           // a plain line every 5 %
constexpr double terminalRedraw = 0.25;   // seconds between rewrites of the terminal line
constexpr size_t listedTimes = 5;         // a closing line's times before it counts the rest

size_t distinctCount(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return static_cast<size_t>(std::unique(values.begin(), values.end()) - values.begin());
}
}  // namespace

std::string formatDuration(double seconds) {
  const long total = seconds > 0.0 ? static_cast<long>(std::lround(seconds)) : 0;
  char text[32];
  if (total >= 3600)
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
  else
    std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
  return text;
}

std::string formatProgress(long done, long total, double elapsedSeconds) {
  const double fps = elapsedSeconds > 0.0 ? done / elapsedSeconds : 0.0;
  const int percent = total > 0 ? static_cast<int>(100 * done / total) : 100;
  std::string left = "?";
  if (fps > 0.0) left = formatDuration((total - done) / fps);
  char text[160];
  std::snprintf(text, sizeof text, "frame %ld/%ld (%d%%), %.1f fps, %s elapsed, %s left", done, total, percent, fps,
                formatDuration(elapsedSeconds).c_str(), left.c_str());
  return text;
}

std::string formatWrote(const std::string& out, int width, int height, long frames, double seconds) {
  char text[96];
  std::snprintf(text, sizeof text, " (%dx%d, %ld frame%s, %.4g s)", width, height, frames, frames == 1 ? "" : "s",
                seconds);
  return "wrote " + out + text;
}

std::string formatWroteStills(const std::string& out, int width, int height, const std::vector<double>& times,
                              long frames) {
  std::vector<double> listed;
  for (size_t i = 0; i < times.size() && listed.size() < listedTimes; ++i)
    if (std::find(listed.begin(), listed.end(), times[i]) == listed.end()) listed.push_back(times[i]);
  std::string at;
  for (double t : listed) {
    char time[32];
    std::snprintf(time, sizeof time, "%s%.4g", at.empty() ? "" : ", ", t);
    at += time;
  }
  at += " s";
  if (const size_t distinct = distinctCount(times); distinct > listed.size())
    at += " and " + std::to_string(distinct - listed.size()) + " more";
  char size[64];
  std::snprintf(size, sizeof size, " (%dx%d, %ld frame%s at ", width, height, frames, frames == 1 ? "" : "s");
  // Times that fall on one frame share its file; the count says why there are fewer files.
  std::string given;
  if (static_cast<size_t>(frames) < times.size())
    given = "; " + std::to_string(times.size()) + " times given, one file a frame";
  return "wrote " + out + size + at + given + ")";
}

ProgressLine::Mode ProgressLine::modeFor(bool quiet) {
  if (quiet) return Mode::quiet;
  return isatty(STDERR_FILENO) ? Mode::terminal : Mode::plain;
}

ProgressLine::ProgressLine(long total, Mode mode, const std::string& label, FILE* out)
    : total_(total), mode_(mode), label_(label), out_(out) {}

void ProgressLine::update(long done, double elapsedSeconds) {
  if (mode_ == Mode::quiet || total_ <= 0) return;
  if (mode_ == Mode::terminal) {
    // Rewriting a terminal line hundreds of times a second costs more than the frames.
    if (done < total_ && lastTerminalDraw_ >= 0.0 && elapsedSeconds - lastTerminalDraw_ < terminalRedraw) return;
    lastTerminalDraw_ = elapsedSeconds;
    std::fprintf(out_, "\r%s: %s\x1b[K", label_.c_str(), formatProgress(done, total_, elapsedSeconds).c_str());
    lineOpen_ = true;
  } else {
    if (done * plainSteps < nextPlainStep_ * total_) return;
    while (nextPlainStep_ * total_ <= done * plainSteps) ++nextPlainStep_;
    std::fprintf(out_, "%s: %s\n", label_.c_str(), formatProgress(done, total_, elapsedSeconds).c_str());
  }
  std::fflush(out_);
}

void ProgressLine::finish() {
  if (!lineOpen_) return;
  std::fputc('\n', out_);
  std::fflush(out_);
  lineOpen_ = false;
}
