// CPU arithmetic of the border composites and the end composite, pixel by pixel, for GL tests
// to compare the shaders against. Works in float like the shaders; every threshold whose
// outcome a rounding difference could flip marks the pixel `fragile` so tests can skip it.
// Does NOT touch GL: images are plain RGBA float arrays, rows bottom first, at target size.
#pragma once
#include <algorithm>
#include <cmath>
#include <vector>

namespace composite_model {

constexpr float pi = 3.1415926535898f;

struct Rgb {
  float r = 0.0f, g = 0.0f, b = 0.0f;
};

// An RGBA float image sampled with nearest filtering at pixel centres (texel = pixel).
struct Image {
  int width = 0;
  int height = 0;
  std::vector<float> rgba;
  float at(int x, int y, int channel) const { return rgba[(static_cast<size_t>(y) * width + x) * 4 + channel]; }
  Rgb rgb(int x, int y) const { return {at(x, y, 0), at(x, y, 1), at(x, y, 2)}; }
  // Nearest texel at a texture coordinate, clamped to the edge.
  int texelX(float u) const { return std::clamp(static_cast<int>(std::floor(u * width)), 0, width - 1); }
  int texelY(float v) const { return std::clamp(static_cast<int>(std::floor(v * height)), 0, height - 1); }
};

enum class Variant { Intro, Part, SpectrumBars, Outro };

struct BorderInputs {
  float time = 0.0f;
  float partTime = 0.0f;
  float blackFac = 0.0f;
  float toBlack = 0.0f;
  float toWhite = 0.0f;
  float textAlpha = 0.0f;
  bool vumeters = false;
  Image picture, overlay, text;
  std::vector<float> spectrum = std::vector<float>(512, 0.0f);  // raw bins, before the 1.8 gain
};

struct Expected {
  Rgb colour;
  bool fragile = false;  // a threshold sat within rounding distance of this pixel
};

inline bool near(float a, float b, float eps) { return std::fabs(a - b) < eps; }
inline float clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
inline Rgb clamp01(Rgb c) { return {clamp01(c.r), clamp01(c.g), clamp01(c.b)}; }
inline Rgb mixTo(Rgb c, float target, float f) {
  return {c.r + (target - c.r) * f, c.g + (target - c.g) * f, c.b + (target - c.b) * f};
}
inline Rgb grey(float v) { return {v, v, v}; }
inline bool inRange(float v, float start, float width) { return start <= v && v <= start + width; }

inline float overlayGain(Variant variant, float u, float v, float time) {
  if (variant == Variant::Intro || variant == Variant::Outro)
    return 0.45f + std::sin(time * pi + u) * std::cos(0.25f * time * pi + v) * 0.15f;
  return 0.5f + std::sin(time * pi + 32.0f * u) * std::cos(0.25f * time * pi + 20.0f * v) * 0.35f;
}

// Steps 1-4: picture, overlay light with its bright line, black override, fades.
inline Rgb framedPicture(const BorderInputs& in, Variant variant, int x, int y, float u, float v, bool& fragile) {
  Rgb c = in.picture.rgb(x, y);
  float a = in.overlay.at(x, y, 0) * overlayGain(variant, u, v, in.time);
  const float yo = 0.5f + std::cos(pi * in.time * 0.275f + std::sqrt(u * v)) *
                              std::sin((u + in.time * 0.47f) * pi) * 0.35f;
  fragile = fragile || near(v, yo, 1e-4f) || near(v, yo + 0.025f, 1e-4f);
  if (inRange(v, yo, 0.025f)) a *= 2.0f;
  c = clamp01(Rgb{c.r + a, c.g + a, c.b + a});
  if (in.blackFac > 0.01f) c = mixTo(c, 0.0f, in.blackFac);
  if (in.toBlack > 0.0f) c = mixTo(c, 0.0f, in.toBlack);
  if (in.toWhite > 0.0f) c = mixTo(c, 1.0f, in.toWhite);
  return c;
}

inline bool spectrumBarLit(const BorderInputs& in, float px, float py, float v, float w, float h, bool& fragile) {
  const float barCount = w / 10.0f;
  const float bar = std::floor(px / w * barCount);
  float amp = in.spectrum[static_cast<int>(bar * (80.0f / barCount))] * 1.8f;
  amp = amp + amp * 2.0f * (px / w);
  const float half = amp * h;
  const float slit = std::fmod(v, 0.005f);
  fragile = fragile || near(py, h / 2.0f - half, 1e-3f) || near(py, h / 2.0f + half, 1e-3f) ||
            near(slit, 0.0015f, 1e-5f) || slit < 1e-5f || slit > 0.005f - 1e-5f;
  return h / 2.0f - half <= py && py <= h / 2.0f + half && std::fmod(px, 10.0f) >= 1.0f && slit > 0.0015f;
}

inline bool onBorderLine(float py, float h, float barHeight) {
  return inRange(py, barHeight, 1.5f) || inRange(py, h - barHeight, 1.5f);
}
inline Rgb borderGrey(float u, float time) { return grey(0.8f + std::sin(u * pi + time) * 0.125f); }

// The outro's closing frame: side box and growing bar height, from part time alone.
struct Closing {
  float xs = 0.0f, xe = 1.0f, barHeight = 0.0f;
};
inline Closing closing(float partTime, float h) {
  Closing box;
  if (partTime >= 33.0f) {
    box.xs = (partTime - 33.0f) * 0.25f;
    box.xe = 1.0f - (partTime - 33.0f) * 0.25f;
  }
  box.xs = std::min(box.xs, 0.22f);
  box.xe = std::max(box.xe, 0.78f);
  box.barHeight = h / 10.0f;
  if (partTime >= 29.5f) box.barHeight += (partTime - 29.5f) * 76.0f;
  box.barHeight = std::min(box.barHeight, h / 2.0f);
  return box;
}

inline Expected borderPixel(const BorderInputs& in, Variant variant, int x, int y) {
  const float w = static_cast<float>(in.picture.width), h = static_cast<float>(in.picture.height);
  const float px = x + 0.5f, py = y + 0.5f, u = px / w, v = py / h;
  Expected out;
  Rgb c = framedPicture(in, variant, x, y, u, v, out.fragile);
  if (variant == Variant::SpectrumBars && in.vumeters && spectrumBarLit(in, px, py, v, w, h, out.fragile))
    c = clamp01(Rgb{c.r + 0.3f, c.g + 0.3f, c.b + 0.3f});
  Closing box = variant == Variant::Outro ? closing(in.partTime, h) : Closing{0.0f, 1.0f, h / 10.0f};
  const bool inBox = box.xs <= u && u <= box.xe;
  if (!inBox || py < box.barHeight || py > h - box.barHeight) c = grey(0.0f);
  if (variant == Variant::Intro) {
    const float alpha = in.text.at(x, y, 3) * in.textAlpha;
    const Rgb t = in.text.rgb(x, y);
    c = {c.r + (t.r - c.r) * alpha, c.g + (t.g - c.g) * alpha, c.b + (t.b - c.b) * alpha};
  }
  if (inBox && onBorderLine(py, h, box.barHeight)) c = borderGrey(u, in.time);
  out.colour = clamp01(c);
  return out;
}

struct EndInputs {
  float time = 0.0f;
  float partTime = 0.0f;
  Image picture, logo;  // the picture at target size; the logo at any size
};

inline Rgb logoAt(const Image& logo, float u, float v, float gain, bool& fragile) {
  fragile = fragile || near(v * logo.height, std::round(v * logo.height), 1e-3f);
  const Rgb s = logo.rgb(logo.texelX(u), logo.texelY(v));
  return {s.r * gain, s.g * gain, s.b * gain};
}

// The two strips of the closing logo, upper first, lower drawn over it.
inline Rgb closingLogo(const EndInputs& in, float u, float v, Rgb c, bool& fragile) {
  const float t1 = std::min(in.partTime, 1.099f);
  float q = v - 0.0025f;
  q -= t1 * 0.035f - 0.0455f;
  fragile = fragile || near(q, 0.548f - t1 * 0.0325f, 1e-5f) || near(q, 0.548f, 1e-5f);
  if (0.548f - t1 * 0.0325f < q && q < 0.548f) c = logoAt(in.logo, u, q, t1 / 1.099f, fragile);
  const float t2 = std::min(in.partTime, 1.5f);
  q = v - 0.0065f;
  fragile = fragile || near(q, 0.5f - t2 * 0.0325f, 1e-5f) || near(q, 0.5f, 1e-5f);
  if (0.5f - t2 * 0.0325f < q && q < 0.5f) c = logoAt(in.logo, u, q, t2 / 1.5f, fragile);
  return c;
}

inline Expected endPixel(const EndInputs& in, int x, int y) {
  const float w = static_cast<float>(in.picture.width), h = static_cast<float>(in.picture.height);
  const float px = x + 0.5f, py = y + 0.5f, u = px / w, v = py / h;
  Expected out;
  Rgb c = in.picture.rgb(x, y);
  const bool inBox = 0.22f <= u && u <= 0.78f;
  const float bar = h / 2.0f;
  if (py < bar || py > h - bar || !inBox) c = grey(0.0f);
  if (0.40f < v && v < 0.65f) c = closingLogo(in, u, v, c, out.fragile);
  if (onBorderLine(py, h, bar) && inBox) c = grey(0.8f + 0.125f * std::sin(u * pi + in.time));
  if (in.partTime > 5.0f) c = mixTo(c, 0.0f, in.partTime - 5.0f);
  out.colour = clamp01(c);
  return out;
}

}  // namespace composite_model
