// Reverb (parallel combs into allpasses), ping-pong delay, fade-out and limiter.
#include "tools/make_music/effects.h"

#include <algorithm>
#include <deque>

namespace {

struct Comb {
  std::vector<float> line;
  size_t at = 0;
  float store = 0.0f;
  float process(float x, float feedback, float damping) {
    const float y = line[at];
    store = y * (1.0f - damping) + store * damping;
    line[at] = x + store * feedback;
    at = (at + 1) % line.size();
    return y;
  }
};

struct Allpass {
  std::vector<float> line;
  size_t at = 0;
  float process(float x) {
    const float delayed = line[at];
    line[at] = x + delayed * 0.5f;
    at = (at + 1) % line.size();
    return delayed - x;
  }
};

void reverbChannel(const std::vector<float>& in, std::vector<float>& out, size_t spread, float wet) {
  const size_t combLengths[] = {1557, 1617, 1491, 1422, 1277, 1356};
  const size_t allpassLengths[] = {225, 556, 441};
  std::vector<Comb> combs;
  for (size_t n : combLengths) combs.push_back({std::vector<float>(n + spread, 0.0f)});
  std::vector<Allpass> allpasses;
  for (size_t n : allpassLengths) allpasses.push_back({std::vector<float>(n + spread / 2, 0.0f)});
  for (size_t i = 0; i < in.size(); ++i) {
    const float x = in[i] * 0.05f;
    float y = 0.0f;
    for (Comb& c : combs) y += c.process(x, 0.84f, 0.3f);
    for (Allpass& a : allpasses) y = a.process(y);
    out[i] += wet * y;
  }
}

}  // namespace

void addReverb(const StereoBuffer& send, StereoBuffer& out, float wet) {
  reverbChannel(send.left, out.left, 0, wet);
  reverbChannel(send.right, out.right, 23, wet);
}

void addPingPongDelay(const StereoBuffer& send, StereoBuffer& out, float delaySeconds, float feedback, float wet) {
  const size_t length = std::max<size_t>(1, frameAt(delaySeconds));
  std::vector<float> lineLeft(length, 0.0f), lineRight(length, 0.0f);
  float toneLeft = 0.0f, toneRight = 0.0f;  // the repeats darken as they fade
  for (size_t i = 0, at = 0; i < send.left.size(); ++i, at = (at + 1) % length) {
    const float echoLeft = lineLeft[at], echoRight = lineRight[at];
    toneLeft += 0.35f * (echoRight - toneLeft);
    toneRight += 0.35f * (echoLeft - toneRight);
    lineLeft[at] = send.left[i] + 0.5f * send.right[i] + feedback * toneLeft;
    lineRight[at] = feedback * toneRight;
    out.left[i] += wet * echoLeft;
    out.right[i] += wet * echoRight;
  }
}

void applyFadeOut(StereoBuffer& buffer, double start, double end) {
  for (size_t i = frameAt(start); i < buffer.left.size(); ++i) {
    const double x = std::min(1.0, (static_cast<double>(i) / sampleRate - start) / (end - start));
    const float g = static_cast<float>(0.5 + 0.5 * std::cos(3.14159265358979 * x));
    buffer.left[i] *= g;
    buffer.right[i] *= g;
  }
}

float peakOf(const StereoBuffer& buffer) {
  float peak = 0.0f;
  for (size_t i = 0; i < buffer.left.size(); ++i)
    peak = std::max({peak, std::fabs(buffer.left[i]), std::fabs(buffer.right[i])});
  return peak;
}

void limitAndNormalise(StereoBuffer& buffer, float drive, float ceiling) {
  const size_t frames = buffer.left.size();
  const size_t lookahead = 96;
  const float attackCoefficient = 1.0f - std::exp(-1.0f / (0.0005f * sampleRate));
  const float releaseCoefficient = 1.0f - std::exp(-1.0f / (0.08f * sampleRate));
  std::vector<float> level(frames);
  for (size_t i = 0; i < frames; ++i) level[i] = drive * std::max(std::fabs(buffer.left[i]), std::fabs(buffer.right[i]));
  std::deque<size_t> window;  // frames of falling level: the sliding maximum around frame i
  auto push = [&](size_t j) {
    while (!window.empty() && level[window.back()] <= level[j]) window.pop_back();
    window.push_back(j);
  };
  for (size_t j = 0; j < std::min(lookahead, frames); ++j) push(j);
  float gain = 1.0f;
  for (size_t i = 0; i < frames; ++i) {
    if (i + lookahead < frames) push(i + lookahead);
    while (window.front() + lookahead < i) window.pop_front();
    const float peak = level[window.front()];
    const float target = peak > 1.0f ? 1.0f / peak : 1.0f;
    gain += (target - gain) * (target < gain ? attackCoefficient : releaseCoefficient);
    buffer.left[i] *= drive * gain;
    buffer.right[i] *= drive * gain;
  }
  const float peak = peakOf(buffer);
  if (peak <= 0.0f) return;
  const float scale = ceiling / peak;
  for (size_t i = 0; i < frames; ++i) {
    buffer.left[i] *= scale;
    buffer.right[i] *= scale;
  }
}
