// The studio's start-up and frame loop.
#include "studio/session.h"

#include <SDL2/SDL.h>
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "app/display.h"
#include "app/options.h"
#include "render/display_settings.h"
#include "tooling/frame_capture.h"
#include "studio/overlay_rects.h"
#include "render/shader_program.h"
#include "studio/overlay.h"
#include "studio/timeline_strip.h"
#include "studio/transport.h"
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

std::string joined(const std::vector<std::string>& paths) {
  std::string text;
  for (const std::string& path : paths) text += (text.empty() ? "" : ", ") + path;
  return text;
}

const char* const qualityNames[] = {"low", "medium", "high"};

std::string secondsText(float t) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", t);
  return text;
}

bool makeCaptureFolder() {
  std::error_code error;
  std::filesystem::create_directories("captures", error);
  return !error;
}

}  // namespace

StudioSession::StudioSession(const StudioOptions& options)
    : options_(options), watcher_(shaderFolder) {
  statusSince_ = lastPoll_ = fpsWindowStart_ = Clock::now();
}

StudioSession::~StudioSession() {
  shaderBuildHooks = {};
  passTimingHook = {};
}

void StudioSession::installHooks() {
  shaderBuildHooks.programBuilt = [this](const ShaderBuild& build) {
    names_.note(build, build.programId);
    return build.programId;
  };
  shaderBuildHooks.programCreated = [this](ShaderProgram& program, bool fragmentIsFile, const std::string& vertex,
                                           const std::string& fragment, const std::string& geometry) {
    programs_.add(program, ownerOfNewProgram(), describeProgramSource(fragmentIsFile, vertex, fragment, geometry));
  };
  shaderBuildHooks.programDestroyed = [this](ShaderProgram& program) { programs_.remove(program); };
}

// Scenes build their programs in their init, one scene after the other, and join sceneList
// after it: the scene being initialised is the one at sceneList's end.
std::string StudioSession::ownerOfNewProgram() const {
  return scenesLoaded_ ? std::string("studio") : partNameOf(static_cast<int>(sceneList.size()));
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
  scenesLoaded_ = true;
  SDL_SetWindowTitle(window, "tarvik-studio");
  createFrameResources();
  if (!loadMusic()) return false;
  // The programs start from the files on disk, which may be newer than the build's copies;
  // this first rebuild also tells which files each program reads.
  rebuildPrograms(programs_.all(), "first build from ./shaders/");
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
  export_.stop();
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
    case StudioCommand::StepFrame: stepFrame(action.part); break;
    case StudioCommand::SlowDown: changeSpeed(false); break;
    case StudioCommand::SpeedUp: changeSpeed(true); break;
    case StudioCommand::SaveFrame: saveFrame(); break;
    case StudioCommand::ExportVideo: startExport(); break;
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
    case StudioCommand::ReloadAll: rebuildPrograms(programs_.all(), "R"); break;
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
    if (event.type == SDL_MOUSEBUTTONDOWN && event.button.button == SDL_BUTTON_LEFT)
      dragging_ = clickAt(event.button.x, event.button.y);
    if (event.type == SDL_MOUSEBUTTONUP && event.button.button == SDL_BUTTON_LEFT) dragging_ = false;
    if (event.type == SDL_MOUSEMOTION && dragging_ && (event.motion.state & SDL_BUTTON_LMASK))
      clickAt(event.motion.x, event.motion.y);
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED &&
        event.window.data1 > 0 && event.window.data2 > 0) {
      settings.windowWidth = event.window.data1;
      settings.windowHeight = event.window.data2;
      redrawPending_ = true;
    }
  }
}

void StudioSession::rebuildPrograms(const std::vector<ShaderProgram*>& programs, const std::string& cause) {
  const ProgramsRebuilt result =
      programs_.rebuild(programs, [this](uint32_t programId, const std::string& stem) { names_.noteStem(programId, stem); });
  // A shader compile allocates and frees a lot; without this the freed pages stay in the
  // allocator's arenas and the studio's memory creeps up over the first few dozen rebuilds.
  malloc_trim(0);
  for (const std::string& line : result.errors) std::printf("%s\n", line.c_str());
  if (!result.rebuilt.empty()) std::printf("studio: %s: rebuilt %s\n", cause.c_str(), joined(result.rebuilt).c_str());
  if (!result.kept.empty())
    std::printf("studio: %s: %s keep the last good build\n", cause.c_str(), joined(result.kept).c_str());
  if (!result.errors.empty()) {
    setStatus(result.errors.front(), true);
  } else {
    setStatus("rebuilt " + std::to_string(result.rebuilt.size()) + " program(s) (" + cause + ")", false);
  }
  std::fflush(stdout);
  redrawPending_ = true;
}

void StudioSession::pollShaderFiles() {
  lastPoll_ = Clock::now();
  const ShaderFileChanges changes = watcher_.poll();
  if (!changes.lost.empty()) {
    const std::string text = joined(changes.lost) + ": deleted, unreadable or not a regular file; the last good programs stay";
    std::printf("studio: %s\n", text.c_str());
    setStatus(text, true);
  }
  if (changes.changed.empty()) {
    std::fflush(stdout);
    return;
  }
  const std::vector<ShaderProgram*> readers = programs_.readersOf(changes.changed);
  if (readers.empty()) {
    const std::string text = joined(changes.changed) + " changed; no program reads it";
    std::printf("studio: %s\n", text.c_str());
    setStatus(text, false);
    std::fflush(stdout);
    return;
  }
  rebuildPrograms(readers, joined(changes.changed));
}

void StudioSession::stepFrame(int direction) {
  pause();
  seekTo(steppedFrameTime(songTime(), direction), true);
}

// The song clock is the audio position, so the picture follows the sound's rate.
void StudioSession::changeSpeed(bool faster) {
  speed_ = nextSpeed(speed_, faster);
  audioChannelSetRate(musicStream, speed_);
  setStatus("speed " + speedText(speed_), false);
}

void StudioSession::saveFrame() {
  const std::string path = stillCaptureName(songTime());
  const bool saved = makeCaptureFolder() && copy_.width() > 0 &&
                     writePngFile(path, copy_.width(), copy_.height(), copy_.readPixels());
  std::printf("studio: %s %s\n", saved ? "saved" : "could not save", path.c_str());
  std::fflush(stdout);
  setStatus((saved ? "saved " : "could not save ") + path, !saved);
}

void StudioSession::startExport() {
  const TimeRange range = exportRange(loop_, songTime(), demoTimeline);
  const std::string path = videoCaptureName(range);
  std::vector<std::string> arguments = {"--from", secondsText(range.from), "--to", secondsText(range.to),
                                        "--out", path, "--quality", qualityNames[std::clamp(options_.quality, 0, 2)]};
  if (options_.renderSize > 0) arguments.insert(arguments.end(), {"--render", std::to_string(options_.renderSize)});
  std::string error;
  const bool started = makeCaptureFolder() && export_.start(siblingProgram("tarvik-render"), arguments, error);
  if (started) exportTarget_ = path;
  const std::string text = started ? "exporting " + path + " in the background" : "no export: " + error;
  std::printf("studio: %s\n", text.c_str());
  std::fflush(stdout);
  setStatus(text, !started);
}

void StudioSession::pollExport() {
  int status = 0;
  if (!export_.poll(status)) return;
  const std::string text = status == 0 ? "exported " + exportTarget_
                                       : "export of " + exportTarget_ + " failed: " + export_.lastLine();
  std::printf("studio: %s\n", text.c_str());
  std::fflush(stdout);
  setStatus(text, status != 0);
}

bool StudioSession::clickAt(int x, int y) {
  const TimelineStrip strip = TimelineStrip::forWindow(settings.windowWidth, settings.windowHeight);
  const float fx = static_cast<float>(x), fy = static_cast<float>(y);
  if (!showTiming_ || !strip.contains(fx, fy)) return false;
  seekTo(strip.timeAt(fx), true);
  return true;
}

void StudioSession::drawStrip() {
  std::vector<float> syncTimes;
  for (const BeatSyncItem& item : beatSync.items) syncTimes.push_back(item.time);
  const TimelineStrip strip = TimelineStrip::forWindow(settings.windowWidth, settings.windowHeight);
  drawOverlayRects(timelineStripRects(strip, demoTimeline, syncTimes, loop_, songTime()), windowFramebuffer,
                   settings.windowWidth, settings.windowHeight);
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
    view.speed = speed_;
    view.loop = loop_;
    if (export_.running()) view.exportProgress = exportTarget_ + " " + export_.progress();
    text_.drawBlock(timingLines(view), 8.0f, 8.0f, windowFramebuffer, settings.windowWidth, settings.windowHeight);
    drawStrip();
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
    text_.drawBlock({statusLine(status_, statusError_)}, 8.0f, settings.windowHeight - lineGap - 44.0f,
                    windowFramebuffer, settings.windowWidth, settings.windowHeight);
}

bool StudioSession::runFrame() {
  if (!started_) return false;
  const Clock::time_point frameStart = Clock::now();
  handleEvents();
  if (secondsBetween(lastPoll_, frameStart) >= pollSeconds) pollShaderFiles();
  pollExport();
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
