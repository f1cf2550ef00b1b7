// The studio's news: one line at the bottom of the window (news fades after a few seconds, an
// error stays until the next line) and, for what the user did or saved, the same text on stdout.
// Owns: the current line and when it came. Does NOT draw it: the picture does.
#pragma once
#include <chrono>
#include <string>

class StatusLine {
 public:
  using Clock = std::chrono::steady_clock;

  // "studio: <text>" on stdout at once (a script may be reading it through a pipe), and in
  // the window.
  void report(const std::string& text, bool isError);
  // In the window only.
  void show(const std::string& text, bool isError);

  const std::string& text() const { return text_; }
  bool isError() const { return error_; }
  bool visibleAt(Clock::time_point now) const;

 private:
  std::string text_;
  bool error_ = false;
  Clock::time_point since_ = Clock::now();
};
