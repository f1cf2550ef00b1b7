// Our audio layer: one SDL2 output device at 44100 Hz stereo float, streams decoded whole
// into memory, and the audible position and spectrum of the playing stream.
//
// Latency: the device callback records the frame it started handing over and when. The audible
// frame is that start plus the time since, at the output rate, capped at what has been
// handed over: the block just handed over plays while the next is prepared, so the sound
// a listener hears lags the handed-over count by up to one device block.
// Past the end: a stream shorter than the run keeps playing as silence, its position counting
// on past its length, so a short track still lets every part play and the run end by itself.
// A device that stops pulling (unplugged, its driver wedged, its sink gone): once SDL reports it
// disconnected, or after deviceStallSeconds without a callback, the position goes on by the
// wall clock from where it stood, so the song clock never freezes.
// Threads: the callback reads only the immutable sample buffer and atomics; it never
// allocates or locks. What it reads is never destroyed, and the device is closed (its thread
// joined) at process exit before any other static goes, also when something calls exit()
// from deep inside another library (the X connection breaking, for one).
#include "timeline/audio.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>

#include "timeline/audio_decode.h"
#include "timeline/audio_fft.h"

namespace {

constexpr int outputRate = 44100;
constexpr int outputChannels = 2;
constexpr uint64_t bytesPerFrame = sizeof(float) * outputChannels;  // byte positions count these
constexpr uint16_t deviceBlockFrames = 1024;
constexpr uint32_t unitRate = 65536;
// About 43 device blocks: long enough that a starved thread on a loaded machine is not taken
// for a dead device, short enough that the picture only hitches.
constexpr double deviceStallSeconds = 1.0;

struct Stream {
  std::vector<float> samples;  // interleaved stereo at outputRate, never changed after creation
  uint64_t frames = 0;
  std::atomic<uint64_t> nextFrame{0};        // first frame not yet handed to the device
  std::atomic<uint64_t> blockStartFrame{0};  // first frame of the block handed over last
  std::atomic<uint64_t> blockTicks{0};       // performance counter when that block was handed over
  std::atomic<bool> playing{false};
  // Playback rate in 1/65536 steps: the callback takes this many source frames per output
  // frame (nearest sample), so off 1x the sound plays slower and lower or faster and higher.
  std::atomic<uint32_t> rateQ16{unitRate};
  // Main thread only: set once the device stopped pulling; the position then follows the
  // wall clock from wallBaseFrame at wallBaseTicks.
  bool onWallClock = false;
  uint64_t wallBaseFrame = 0;
  uint64_t wallBaseTicks = 0;
};

struct AudioDevice {
  SDL_AudioDeviceID id = 0;
  bool subsystemUp = false;
  std::vector<std::unique_ptr<Stream>> streams;  // handle = index + 1; freed only by audioFree
  std::atomic<Stream*> current{nullptr};         // the stream the callback plays
  int lastError = audioOk;
  bool exitHookSet = false;
};

// Never destroyed: a device thread that could not be joined may still read it while the
// process ends.
AudioDevice& device = *new AudioDevice;

bool fail(int code) {
  device.lastError = code;
  return false;
}

void fillDeviceBlock(void*, Uint8* bytes, int length) {
  float* out = reinterpret_cast<float*>(bytes);
  const uint64_t wanted = static_cast<uint64_t>(length) / bytesPerFrame;
  Stream* stream = device.current.load();
  uint64_t copied = 0;
  if (stream && stream->playing.load()) {
    const uint64_t start = stream->nextFrame.load();
    const uint64_t rate = stream->rateQ16.load();
    for (; copied < wanted; ++copied) {
      const uint64_t source = start + ((copied * rate) >> 16);
      if (source >= stream->frames) break;
      std::copy_n(stream->samples.data() + source * outputChannels, outputChannels, out + copied * outputChannels);
    }
    stream->blockStartFrame.store(start);
    stream->blockTicks.store(SDL_GetPerformanceCounter());
    // Past the end the block is silence but still counts. A seek from the main thread between
    // the load and here wins over this advance.
    uint64_t expected = start;
    stream->nextFrame.compare_exchange_strong(expected, start + ((wanted * rate) >> 16));
  }
  std::fill(out + copied * outputChannels, out + wanted * outputChannels, 0.0f);
}

Stream* findStream(AudioStream handle) {
  if (handle == 0 || handle > device.streams.size()) return nullptr;
  return device.streams[handle - 1].get();
}

double secondsSince(uint64_t ticks) {
  return static_cast<double>(SDL_GetPerformanceCounter() - ticks) / static_cast<double>(SDL_GetPerformanceFrequency());
}

uint64_t framesIn(double seconds) { return static_cast<uint64_t>(std::max(0.0, seconds) * outputRate); }

// Source frames played in `seconds` of output at the stream's rate.
uint64_t sourceFramesIn(const Stream& stream, double seconds) {
  return (framesIn(seconds) * stream.rateQ16.load()) >> 16;
}

// Restarts the wall clock (if in use) from the stream's current frame: after a seek or a resume.
void rebaseWallClock(Stream& stream) {
  stream.wallBaseFrame = stream.nextFrame.load();
  stream.wallBaseTicks = SDL_GetPerformanceCounter();
}

// Main thread only (it may switch the stream to the wall clock).
uint64_t audibleFrame(Stream& stream) {
  const uint64_t handed = stream.nextFrame.load();
  if (!stream.playing.load()) return handed;
  if (stream.onWallClock) return stream.wallBaseFrame + sourceFramesIn(stream, secondsSince(stream.wallBaseTicks));
  const uint64_t start = stream.blockStartFrame.load();
  const double elapsed = secondsSince(stream.blockTicks.load());
  const uint64_t heard = start > handed ? handed : std::min(handed, start + sourceFramesIn(stream, elapsed));
  // SDL stops a device it found disconnected (and may keep firing the callback to pace it).
  const bool disconnected = device.id != 0 && SDL_GetAudioDeviceStatus(device.id) == SDL_AUDIO_STOPPED;
  if (elapsed > deviceStallSeconds || disconnected) {
    stream.onWallClock = true;
    stream.wallBaseFrame = heard;
    stream.wallBaseTicks = SDL_GetPerformanceCounter();
  }
  return heard;
}

// A device that stopped pulling while SDL still counts it as open (playing or paused) has its
// thread stuck inside the driver, and joining that thread would hang; SDL itself stops a
// device that it found disconnected, and that one closes normally.
bool deviceWedged() {
  const Stream* stream = device.current.load();
  return device.id != 0 && stream && stream->onWallClock && SDL_GetAudioDeviceStatus(device.id) != SDL_AUDIO_STOPPED;
}

void closeDevice() {
  if (device.id != 0 && !deviceWedged()) SDL_CloseAudioDevice(device.id);
  device.id = 0;
}

// Runs before the destructors of statics constructed before audioInit (atexit order).
void closeDeviceAtExit() { closeDevice(); }

}  // namespace

uint32_t audioGetVersion() { return 0x02040000u; }

int audioErrorGetCode() { return device.lastError; }

bool audioInit(int, uint32_t, uint32_t) {
  if (device.id != 0) return true;
  if (!device.subsystemUp && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return fail(audioErrorDevice);
  device.subsystemUp = true;
  if (!device.exitHookSet) device.exitHookSet = std::atexit(closeDeviceAtExit) == 0;
  SDL_AudioSpec want{};
  want.freq = outputRate;
  want.format = AUDIO_F32SYS;
  want.channels = outputChannels;
  want.samples = deviceBlockFrames;
  want.callback = fillDeviceBlock;
  SDL_AudioSpec have{};
  // No allowed changes: SDL converts to whatever the hardware wants behind the callback.
  device.id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device.id == 0) return fail(audioErrorDevice);
  device.lastError = audioOk;
  return true;
}

AudioStream audioStreamCreateFile(bool, const char* file, uint64_t offset, uint64_t length, uint32_t) {
  if (device.id == 0) return fail(audioErrorInit);
  std::vector<unsigned char> bytes;
  if (!readAudioFileBytes(file, offset, length, bytes)) return fail(audioErrorFileOpen);
  DecodedAudio decoded;
  if (decodeAudioBytes(bytes.data(), bytes.size(), decoded) != AudioDecodeResult::ok) return fail(audioErrorFormat);
  auto stream = std::make_unique<Stream>();
  stream->samples = toStereoAtRate(decoded, outputRate);
  stream->frames = stream->samples.size() / outputChannels;
  if (stream->frames == 0) return fail(audioErrorFormat);
  device.streams.push_back(std::move(stream));
  device.lastError = audioOk;
  return static_cast<AudioStream>(device.streams.size());
}

uint64_t audioChannelGetLength(AudioStream handle, uint32_t) {
  const Stream* stream = findStream(handle);
  if (!stream) return fail(audioErrorHandle);
  return stream->frames * bytesPerFrame;
}

double audioChannelBytes2Seconds(AudioStream handle, uint64_t bytes) {
  if (!findStream(handle)) {
    fail(audioErrorHandle);
    return -1.0;
  }
  return static_cast<double>(bytes / bytesPerFrame) / outputRate;
}

uint64_t audioChannelSeconds2Bytes(AudioStream handle, double seconds) {
  if (!findStream(handle)) return fail(audioErrorHandle);
  return static_cast<uint64_t>(std::max(0.0, seconds) * outputRate + 0.5) * bytesPerFrame;
}

bool audioChannelSetPosition(AudioStream handle, uint64_t bytes, uint32_t) {
  Stream* stream = findStream(handle);
  if (!stream) return fail(audioErrorHandle);
  const uint64_t frame = bytes / bytesPerFrame;
  if (frame > stream->frames) return fail(audioErrorPosition);
  stream->nextFrame.store(frame);
  stream->blockStartFrame.store(frame);
  stream->blockTicks.store(SDL_GetPerformanceCounter());
  rebaseWallClock(*stream);
  return true;
}

bool audioChannelPlay(AudioStream handle, bool restart) {
  Stream* stream = findStream(handle);
  if (!stream) return fail(audioErrorHandle);
  if (restart) stream->nextFrame.store(0);
  stream->blockStartFrame.store(stream->nextFrame.load());
  stream->blockTicks.store(SDL_GetPerformanceCounter());
  rebaseWallClock(*stream);
  device.current.store(stream);
  stream->playing.store(true);
  SDL_PauseAudioDevice(device.id, 0);
  return true;
}

uint64_t audioChannelGetPosition(AudioStream handle, uint32_t) {
  Stream* stream = findStream(handle);
  if (!stream) return fail(audioErrorHandle);
  return audibleFrame(*stream) * bytesPerFrame;
}

uint32_t audioChannelGetData(AudioStream handle, float* buffer, uint32_t mode) {
  Stream* stream = findStream(handle);
  if (!stream || !buffer || mode != audioDataFft1024) {
    fail(stream ? audioErrorFormat : audioErrorHandle);
    return audioDataFailed;
  }
  analyseSpectrum(stream->samples.data(), stream->frames, outputChannels, audibleFrame(*stream), buffer);
  return 512 * sizeof(float);
}

bool audioChannelPause(AudioStream handle) {
  Stream* stream = findStream(handle);
  if (!stream) return fail(audioErrorHandle);
  // Resuming continues from what was heard, not from what the device had buffered.
  const uint64_t heard = audibleFrame(*stream);
  SDL_PauseAudioDevice(device.id, 1);
  stream->playing.store(false);
  stream->nextFrame.store(heard);
  return true;
}

bool audioChannelSetRate(AudioStream handle, double rate) {
  Stream* stream = findStream(handle);
  if (!stream || !(rate >= 0.125 && rate <= 8.0)) return fail(stream ? audioErrorPosition : audioErrorHandle);
  // The audible frame so far counts at the old rate; from here on at the new one.
  const uint64_t heard = audibleFrame(*stream);
  stream->rateQ16.store(static_cast<uint32_t>(rate * unitRate + 0.5));
  stream->nextFrame.store(heard);
  stream->blockStartFrame.store(heard);
  stream->blockTicks.store(SDL_GetPerformanceCounter());
  rebaseWallClock(*stream);
  return true;
}

bool audioChannelOnWallClock(AudioStream handle) {
  const Stream* stream = findStream(handle);
  return stream && stream->onWallClock;
}

bool audioFree() {
  // A wedged device thread is left alone with everything it reads; the process ends around it.
  if (deviceWedged()) {
    device.id = 0;
    return false;
  }
  closeDevice();
  device.current.store(nullptr);
  device.streams.clear();
  if (device.subsystemUp) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  device.subsystemUp = false;
  return true;
}
