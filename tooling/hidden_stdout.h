// The demo's start-up transcript (scene loads, pack entries, display sizes) goes to stdout; a
// tool shows it only with --verbose. This points stdout at /dev/null until show() or the end
// of its scope; the tools' own messages go to stderr and are not touched.
#pragma once

class HiddenStdout {
 public:
  explicit HiddenStdout(bool hide);
  ~HiddenStdout() { show(); }
  HiddenStdout(const HiddenStdout&) = delete;
  HiddenStdout& operator=(const HiddenStdout&) = delete;

  // Gives stdout back (what was printed meanwhile is gone).
  void show();

 private:
  int savedStdout_ = -1;
};
