// Running ffmpeg as a child process fed through a pipe.
#include "capture/video_encoder.h"

#include <signal.h>

#include <cstdio>

namespace {

constexpr size_t queueDepth = 2;

std::string numberText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.10g", value);
  return text;
}

void appendAll(std::vector<std::string>& to, std::initializer_list<std::string> items) {
  to.insert(to.end(), items.begin(), items.end());
}

}  // namespace

std::vector<std::string> encoderArguments(const EncoderJob& job) {
  const bool sound = !job.soundPath.empty();
  std::vector<std::string> args = {"ffmpeg", "-hide_banner", "-nostats", "-loglevel", "error", "-y"};
  appendAll(args, {"-f", "rawvideo", "-pix_fmt", "rgba", "-video_size",
                   std::to_string(job.width) + "x" + std::to_string(job.height), "-framerate", numberText(job.fps),
                   "-i", "pipe:0"});
  if (sound) appendAll(args, {"-i", job.soundPath});
  appendAll(args, {"-map", "0:v:0"});
  if (sound) appendAll(args, {"-map", "1:a:0"});
  if (job.container == VideoContainer::mp4) {
    // The matrix used for the conversion and the tags written must agree, or players would
    // decode with another matrix and shift the colours away from the PNG stills.
    appendAll(args, {"-vf", "vflip,scale=out_color_matrix=bt709:out_range=tv,format=yuv420p", "-c:v", "libx264",
                     "-preset", job.preset, "-crf", std::to_string(job.crf), "-pix_fmt", "yuv420p", "-colorspace", "bt709",
                     "-color_primaries", "bt709", "-color_trc", "bt709", "-color_range", "tv"});
    if (sound) appendAll(args, {"-c:a", "aac", "-b:a", "192k"});
    appendAll(args, {"-movflags", "+faststart", "-f", "mp4"});
  } else {
    appendAll(args, {"-vf", "vflip", "-c:v", "ffv1", "-level", "3", "-g", "1", "-pix_fmt", "bgr0", "-colorspace", "rgb",
                     "-color_primaries", "bt709", "-color_trc", "bt709", "-color_range", "pc"});
    if (sound) appendAll(args, {"-c:a", "flac"});
    appendAll(args, {"-f", "matroska"});
  }
  args.push_back(job.outputPath);
  return args;
}

EncoderProcess::~EncoderProcess() { abort(); }

bool EncoderProcess::start(const std::vector<std::string>& args, std::string& error) {
  ChildSetup setup;
  setup.pipe = ChildPipe::feedStdin;
  setup.killedByStopWatchdog = true;
  setup.installHint = encoderInstallHint;
  if (!child_.start(args, setup, error)) return false;
  writer_ = std::thread([this] { writerLoop(); });
  return true;
}

void EncoderProcess::writerLoop() {
  for (;;) {
    std::vector<uint8_t> frame;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [this] { return !queue_.empty() || closing_; });
      if (queue_.empty()) return;
      frame = std::move(queue_.front());
      queue_.pop_front();
    }
    changed_.notify_all();
    if (!child_.write(frame.data(), frame.size())) {
      std::lock_guard<std::mutex> lock(mutex_);
      broken_ = true;
      queue_.clear();
      changed_.notify_all();
      return;
    }
  }
}

bool EncoderProcess::submit(std::vector<uint8_t> frame) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return queue_.size() < queueDepth || broken_; });
  if (broken_ || !child_.running()) return false;
  queue_.push_back(std::move(frame));
  changed_.notify_all();
  return true;
}

// The writer is done with the pipe once this returns, so the child's wait may close it.
void EncoderProcess::stopWriter() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
  }
  changed_.notify_all();
  if (writer_.joinable()) writer_.join();
}

bool EncoderProcess::finish(std::string& error) {
  if (!child_.running()) {
    error = "the encoder is not running";
    return false;
  }
  stopWriter();
  const ChildEnd end = child_.wait();
  if (end.succeeded()) return true;
  error = end.signal == 0 ? "the encoder failed (ffmpeg exit status " + std::to_string(end.exitStatus) + ")"
                          : "the encoder was killed (signal " + std::to_string(end.signal) + ")";
  if (!child_.lastLine().empty()) error += ": " + child_.lastLine();
  return false;
}

void EncoderProcess::abort() {
  child_.sendSignal(SIGKILL);
  // With the encoder gone the writer's blocked write fails at once and the thread ends.
  stopWriter();
  child_.wait();
}
