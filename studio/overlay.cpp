// The overlay's text.
#include "studio/overlay.h"

#include <cstdio>

#include "studio/keys.h"
#include "studio/transport.h"

namespace {

const std::array<float, 3> white = {1.0f, 1.0f, 1.0f};
const std::array<float, 3> grey = {0.7f, 0.7f, 0.7f};
const std::array<float, 3> yellow = {1.0f, 0.85f, 0.3f};
const std::array<float, 3> red = {1.0f, 0.35f, 0.3f};

template <typename... Args>
std::string format(const char* pattern, Args... args) {
  char line[256];
  std::snprintf(line, sizeof line, pattern, args...);
  return line;
}

std::string stateText(const TimingView& view) {
  std::string text;
  if (view.paused) text += "  PAUSED";
  if (view.loop.on) text += format("  LOOP %.2f-%.2f", view.loop.start, view.loop.end);
  if (view.speed != 1.0f) text += "  SPEED " + speedText(view.speed);
  return text;
}

}  // namespace

std::vector<OverlayLine> timingLines(const TimingView& view) {
  std::vector<OverlayLine> lines;
  lines.push_back({format("%7.2f s  part %d %s  +%.2f s", view.songTime, view.partIndex + 1, view.partName.c_str(),
                          view.partTime),
                   white});
  if (const std::string state = stateText(view); !state.empty()) lines.push_back({state.substr(2), yellow});
  double gpuSum = 0.0;
  for (const PassTime& pass : view.passes) gpuSum += pass.milliseconds;
  // A paused studio redraws only when something changed: its frame rate would say nothing.
  const std::string rate = view.paused ? std::string("paused") : format("%5.1f fps", view.framesPerSecond);
  lines.push_back({rate + format("  CPU %6.2f ms  GPU %6.2f ms", view.cpuMilliseconds, gpuSum), white});
  if (!view.exportProgress.empty()) lines.push_back({"export " + view.exportProgress, yellow});
  if (!view.gpuTiming) lines.push_back({"GPU timing not available", grey});
  for (const PassTime& pass : view.passes)
    lines.push_back({format("  %-14s %7.2f ms", pass.name.c_str(), pass.milliseconds), grey});
  lines.push_back({"H: keys", grey});
  return lines;
}

std::vector<OverlayLine> helpLines() {
  std::vector<OverlayLine> lines = {{"tarvik-studio keys", yellow}};
  for (const KeyHelp& key : studioKeyHelp()) lines.push_back({format("%-20s %s", key.keys.c_str(), key.action.c_str()), white});
  lines.push_back({"Saving a .glsl under ./shaders/ rebuilds every program that read it.", grey});
  return lines;
}

OverlayLine statusLine(const std::string& text, bool error) { return {text, error ? red : white}; }
