// The studio's start-up and frame loop.
#include "studio/session.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "app/display.h"
#include "app/options.h"
#include "render/display_settings.h"
#include "studio/overlay.h"
#include "timeline/seek.h"
#include "tooling/tool_setup.h"
#include "tooling/tool_start.h"
#include "render/gl_lists.h"
#include "render/pass_timing_hook.h"
#include "render/shader_build_hooks.h"
#include "render/shared_uniforms.h"
#include "render/window_target.h"
#include "scenes/base_demo_screen.h"
#include "scenes/frame_step_render.h"
#include "scenes/scene_set.h"
#include "timeline/audio.h"
#include "timeline/beat_sync.h"
#include "timeline/demo_parts.h"
#include "timeline/demo_state.h"
#include "timeline/frame_step.h"
#include "timeline/music.h"

namespace {

constexpr const char* shaderFolder = "./shaders";
constexpr const char* overlayFont = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
constexpr float overlayFontPixels = 15.0f;
constexpr double pollSeconds = 0.25;
constexpr double newsSeconds = 4.0;
// A paused studio has nothing new to draw most frames; this keeps it from spinning a core
// where the swap does not wait for the display.
constexpr Uint32 pausedFrameDelayMs = 15;

double secondsBetween(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
  return std::chrono::duration<double>(b - a).count();
}

std::string partNameOf(int index) {
  if (index < 0 || index >= static_cast<int>(demoTimeline.size())) return "?";
  return demoTimeline[static_cast<size_t>(index)].name;
}

std::string sceneNames(const std::vector<size_t>& scenes) {
  std::string names;
  for (const size_t index : scenes) names += (names.empty() ? "" : ", ") + partNameOf(static_cast<int>(index));
  return names;
}

std::string joined(const std::vector<std::string>& paths) {
  std::string text;
  for (const std::string& path : paths) text += (text.empty() ? "" : ", ") + path;
  return text;
}

// The first error of a failed reload, led by the files it could not find (their absence is
// usually the whole story).
std::string failureText(const SceneReload& result) {
  std::string text;
  for (const std::string& path : result.missingFiles) text += path + " not found; ";
  return text + result.firstError;
}

}  // namespace

StudioSession::StudioSession(const StudioOptions& options)
    : options_(options), reloader_(sceneList), watcher_(shaderFolder) {
  statusSince_ = lastPoll_ = fpsWindowStart_ = Clock::now();
}

StudioSession::~StudioSession() {
  shaderBuildHooks = {};
  passTimingHook = {};
}

void StudioSession::installHooks() {
  shaderBuildHooks.programBuilt = [this](const ShaderBuild& build) {
    const uint32_t kept = reloader_.onProgramBuilt(build);
    names_.note(build, kept);
    return kept;
  };
  shaderBuildHooks.fileRead = [this](const std::string& path, bool found) { reloader_.onFileRead(path, found); };
}

void StudioSession::applySettings() {
  const SizeWH windowed = windowedSizeForQuality(options_.quality);
  applyToolSizes(options_.quality, options_.renderSize, options_.windowWidth ? options_.windowWidth : windowed.width,
                 options_.windowHeight ? options_.windowHeight : windowed.height);
}

bool StudioSession::start() {
  prepareToolTimeline();
  applySettings();
  installHooks();
  if (!openToolDisplay("tarvik-studio", false)) return false;
  SDL_SetWindowTitle(window, "tarvik-studio");
  createFrameResources();
  if (!loadMusic()) return false;
  // The scenes start from the files on disk, which may be newer than the build's copies; this
  // first reload also tells which files each scene reads.
  reloadScenes(allScenes(), "first build from ./shaders/");
  watcher_.poll();
  if (!text_.load(overlayFont, overlayFontPixels))
    std::printf("studio: no overlay text, cannot read the font %s\n", overlayFont);
  if (GlTimestampQueries::supported()) {
    ring_ = std::make_unique<TimerRing>(queries_, 4);
    passTimingHook = {&StudioSession::markPassThunk, this};
  }
  seekTo(options_.start, true);
  audioChannelPlay(musicStream, false);
  std::fflush(stdout);
  started_ = true;
  return true;
}

void StudioSession::shutDown() {
  shaderBuildHooks = {};
  passTimingHook = {};
  audioFree();
  shutDownDisplay();
  started_ = false;
}

void StudioSession::markPassThunk(void* context, PassKind kind, uint32_t programId, bool begin) {
  auto* session = static_cast<StudioSession*>(context);
  if (session->ring_) session->ring_->markPass(session->names_.passName(kind, programId), begin);
}

std::vector<size_t> StudioSession::allScenes() const {
  std::vector<size_t> all(reloader_.sceneCount());
  for (size_t i = 0; i < all.size(); ++i) all[i] = i;
  return all;
}

float StudioSession::songTime() const { return sharedUniforms.songPosition; }

int StudioSession::partIndex() const { return demoState.currentPartIndex; }

void StudioSession::setStatus(const std::string& text, bool error) {
  status_ = text;
  statusError_ = error;
  statusSince_ = Clock::now();
}

void StudioSession::seekTo(float t, bool byUser) {
  const SeekLanding landing = seekLanding(t, demoTimeline, beatSync.items);
  applySeek(landing);
  if (byUser) followSeek(loop_, landing.time, demoTimeline);
  if (landing.time < demoEndTime) atEnd_ = false;
  if (paused_) pausedAt_ = landing.time;
  redrawPending_ = true;
}

void StudioSession::pause() {
  if (paused_) return;
  audioChannelPause(musicStream);
  paused_ = true;
  pausedAt_ = sharedUniforms.songPosition;
}

void StudioSession::resume() {
  if (!paused_) return;
  // Playing on after the end point starts the demo again.
  if (atEnd_) {
    paused_ = false;
    seekTo(0.0f, true);
  } else {
    audioChannelSetPosition(musicStream, audioChannelSeconds2Bytes(musicStream, pausedAt_), audioPosByte);
    paused_ = false;
  }
  audioChannelPlay(musicStream, false);
}

void StudioSession::togglePause() {
  if (paused_) resume();
  else pause();
}

void StudioSession::apply(const StudioAction& action) {
  const float t = songTime();
  switch (action.command) {
    case StudioCommand::None: break;
    case StudioCommand::TogglePause: togglePause(); break;
    case StudioCommand::Seek: seekTo(t + action.seconds, true); break;
    case StudioCommand::PreviousPart: seekTo(partStartTime(demoTimeline, partIndexAt(demoTimeline, t) - 1), true); break;
    case StudioCommand::NextPart: {
      const int next = partIndexAt(demoTimeline, t) + 1;
      if (next < static_cast<int>(demoTimeline.size())) seekTo(partStartTime(demoTimeline, next), true);
      break;
    }
    case StudioCommand::JumpToPart: seekTo(partStartTime(demoTimeline, action.part), true); break;
    case StudioCommand::ToggleLoop: toggleLoop(loop_, t, demoTimeline); break;
    case StudioCommand::MarkLoopIn: markLoopIn(loop_, t, demoTimeline); break;
    case StudioCommand::MarkLoopOut: markLoopOut(loop_, t, demoTimeline); break;
    case StudioCommand::ReloadAll: reloadScenes(allScenes(), "R"); break;
    case StudioCommand::ToggleTiming: showTiming_ = !showTiming_; break;
    case StudioCommand::ToggleHelp: showHelp_ = !showHelp_; break;
    case StudioCommand::Quit: quit_ = true; break;
  }
}

void StudioSession::handleEvents() {
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    if (event.type == SDL_QUIT) quit_ = true;
    if (event.type == SDL_KEYDOWN)
      apply(actionForKey(event.key.keysym.sym, event.key.keysym.mod, event.key.repeat != 0));
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED &&
        event.window.data1 > 0 && event.window.data2 > 0) {
      settings.windowWidth = event.window.data1;
      settings.windowHeight = event.window.data2;
      redrawPending_ = true;
    }
  }
}

void StudioSession::reloadScenes(const std::vector<size_t>& scenes, const std::string& cause) {
  std::vector<std::string> failures;
  for (const size_t index : scenes) {
    const SceneReload result = reloader_.reloadScene(index);
    if (result.ok) continue;
    const std::string kept = result.keptOld ? "keeps its last good programs" : "has no good program to keep";
    std::printf("studio: %s: %s; %s %s\n", cause.c_str(), failureText(result).c_str(),
                partNameOf(static_cast<int>(index)).c_str(), kept.c_str());
    failures.push_back(cause + ": " + failureText(result));
  }
  if (failures.empty()) {
    std::printf("studio: %s: reloaded %s\n", cause.c_str(), sceneNames(scenes).c_str());
    setStatus("reloaded " + sceneNames(scenes) + " (" + cause + ")", false);
  } else {
    setStatus(failures.front(), true);
  }
  std::fflush(stdout);
  redrawPending_ = true;
}

void StudioSession::pollShaderFiles() {
  lastPoll_ = Clock::now();
  const ShaderFileChanges changes = watcher_.poll();
  if (!changes.lost.empty()) {
    const std::string text = joined(changes.lost) + ": deleted or unreadable; the last good programs stay";
    std::printf("studio: %s\n", text.c_str());
    setStatus(text, true);
  }
  if (changes.changed.empty()) {
    std::fflush(stdout);
    return;
  }
  const std::vector<size_t> scenes = scenesReading(reloader_.filesPerScene(), changes.changed);
  if (scenes.empty()) {
    const std::string text = joined(changes.changed) + " changed; no scene reloads it";
    std::printf("studio: %s\n", text.c_str());
    setStatus(text, false);
    std::fflush(stdout);
    return;
  }
  reloadScenes(scenes, joined(changes.changed));
}

void StudioSession::advanceClock() {
  if (paused_) {
    sharedUniforms.songPosition = pausedAt_;
  } else {
    const float t = readSongPosition();
    if (const auto wrap = loopWrap(loop_, t)) {
      seekTo(*wrap, false);
    } else if (t > demoEndTime) {
      pause();
      atEnd_ = true;
      setStatus("end of the demo: Space plays it again from the start", false);
    }
  }
  advanceDemoPart(sharedUniforms.songPosition);
}

// A paused frame is drawn again without the timeline moving: no sync item fires, no pulse or
// spectrum peak decays; the active scene's settings and render run as they would.
void StudioSession::redrawPaused() {
  const int part = sharedUniforms.activeDemoPart;
  if (part < 0 || part >= static_cast<int>(sceneList.size())) return;
  BaseDemoScreen* scene = sceneList[static_cast<size_t>(part)];
  publishSceneSettings(scene->sceneSettings);
  scene->render(frameBuffers, renderTextures, packTextures);
}

void StudioSession::drawFrame() {
  const bool reuse = paused_ && !redrawPending_ &&
                     copy_.restore(windowFramebuffer, settings.windowWidth, settings.windowHeight);
  if (reuse) return;
  if (ring_) ring_->beginFrame();
  if (paused_) redrawPaused();
  else frameStep();
  if (ring_) ring_->endFrame();
  copy_.capture(windowFramebuffer, settings.windowWidth, settings.windowHeight);
  redrawPending_ = false;
  ++framesDrawn_;
}

void StudioSession::drawOverlay() {
  if (ring_) ring_->collect();
  const float lineGap = text_.lineHeight();
  if (showTiming_) {
    TimingView view;
    view.songTime = songTime();
    view.partIndex = partIndex();
    view.partName = partNameOf(view.partIndex);
    view.partTime = songTime() - sharedUniforms.partStart;
    view.framesPerSecond = framesPerSecond_;
    view.cpuMilliseconds = cpuMilliseconds_;
    view.gpuTiming = ring_ != nullptr;
    if (ring_) view.passes = ring_->latest();
    view.paused = paused_;
    view.loop = loop_;
    text_.drawBlock(timingLines(view), 8.0f, 8.0f, windowFramebuffer, settings.windowWidth, settings.windowHeight);
  }
  if (showHelp_) {
    const std::vector<OverlayLine> help = helpLines();
    float width = 0.0f;
    for (const OverlayLine& line : help) width = std::max(width, text_.textWidth(line.text));
    const float x = std::max(8.0f, settings.windowWidth - width - 24.0f);
    text_.drawBlock(help, x, 8.0f, windowFramebuffer, settings.windowWidth, settings.windowHeight);
  }
  const bool showStatus = !status_.empty() && (statusError_ || secondsBetween(statusSince_, Clock::now()) < newsSeconds);
  if (showStatus)
    text_.drawBlock({statusLine(status_, statusError_)}, 8.0f, settings.windowHeight - lineGap - 20.0f,
                    windowFramebuffer, settings.windowWidth, settings.windowHeight);
}

bool StudioSession::runFrame() {
  if (!started_) return false;
  const Clock::time_point frameStart = Clock::now();
  handleEvents();
  if (secondsBetween(lastPoll_, frameStart) >= pollSeconds) pollShaderFiles();
  advanceClock();
  const bool idle = paused_ && !redrawPending_;
  drawFrame();
  drawOverlay();
  cpuMilliseconds_ = secondsBetween(frameStart, Clock::now()) * 1000.0;
  SDL_GL_SwapWindow(window);
  ++fpsFrames_;
  const double elapsed = secondsBetween(fpsWindowStart_, Clock::now());
  if (elapsed >= 0.5) {
    framesPerSecond_ = fpsFrames_ / elapsed;
    fpsFrames_ = 0;
    fpsWindowStart_ = Clock::now();
  }
  if (idle) SDL_Delay(pausedFrameDelayMs);
  return !quit_;
}
