// The `ffmpeg` program as the video encoder: its command line for each container, and the
// child process that takes raw frames on a pipe from a writer thread.
// Owns: the child process (through ChildProcess) and the frames queued for it.
// Does NOT render, read back or choose file names: the export decides those.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tooling/child_process.h"

enum class VideoContainer { mp4, mkv };

struct EncoderJob {
  VideoContainer container = VideoContainer::mp4;
  int width = 0;
  int height = 0;
  double fps = 60.0;
  int crf = 18;                   // .mp4: x264's constant rate factor
  std::string preset = "medium";  // .mp4: x264's speed preset
  std::string soundPath;   // a WAV muxed beside the video; empty for a video-only file
  std::string outputPath;  // written as given (the export's temporary name)
};

// Frames arrive as RGBA rows, bottom row first (GL order). An .mp4 gets H.264 in yuv420p
// through the BT.709 matrix at limited range with every colour tag set, and AAC sound; an
// .mkv is the lossless master: FFV1 in RGB, every frame a key frame, and FLAC sound, tagged
// with BT.709 primaries and transfer, the identity matrix and full range (its samples are the
// RGB of the stills).
std::vector<std::string> encoderArguments(const EncoderJob& job);

// Said with "cannot find the ffmpeg program" when it is missing.
inline constexpr char encoderInstallHint[] = "install the Debian package ffmpeg";

class EncoderProcess {
 public:
  EncoderProcess() = default;
  EncoderProcess(const EncoderProcess&) = delete;
  EncoderProcess& operator=(const EncoderProcess&) = delete;
  ~EncoderProcess();  // a still-running encoder is killed

  // Starts `args` (args[0] found on PATH) in its own process group, so a Ctrl-C meant for the
  // renderer does not reach it, and hands it to the stop watchdog; false with `error` set when
  // it cannot start. Its error output is kept for finish.
  bool start(const std::vector<std::string>& args, std::string& error);
  // Hands one frame to the writer thread; blocks while two frames already wait. False once
  // the encoder has stopped taking input.
  bool submit(std::vector<uint8_t> frame);
  // Ends the input and waits; true only when the encoder exited with status 0. Otherwise
  // `error` is one line: the exit status and the encoder's own last message.
  bool finish(std::string& error);
  // Kills the encoder and waits for it (an interrupted export).
  void abort();

 private:
  void writerLoop();
  void stopWriter();

  ChildProcess child_;
  std::thread writer_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::vector<uint8_t>> queue_;
  bool closing_ = false;
  bool broken_ = false;
};
