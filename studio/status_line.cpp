// The status line and its stdout report.
#include "studio/status_line.h"

#include <cstdio>

namespace {

constexpr std::chrono::seconds newsLasts{4};

}  // namespace

void StatusLine::report(const std::string& text, bool isError) {
  std::printf("studio: %s\n", text.c_str());
  std::fflush(stdout);
  show(text, isError);
}

void StatusLine::show(const std::string& text, bool isError) {
  text_ = text;
  error_ = isError;
  since_ = Clock::now();
}

bool StatusLine::visibleAt(Clock::time_point now) const {
  return !text_.empty() && (error_ || now - since_ < newsLasts);
}
