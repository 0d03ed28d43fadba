// What a device worker drives, as small interfaces the windows (or the CLI, or a
// test) implement: a progress gauge, a window whose title shows the step and which
// the worker closes at the end of an archive read, and a status label. The grid
// target is the table itself (GridData) and the image target the screen buffer.
//
// The worker calls these only through a hand-over, i.e. on the UI thread. Texts are
// Windows-1251.
#pragma once

#include <string>

namespace rz47 {

class ProgressGaugeTarget {
 public:
  virtual ~ProgressGaugeTarget() = default;
  virtual void SetProgress(int percent) = 0;  // 0..100
  virtual void SetGaugeVisible(bool visible) = 0;
};

class CaptionFormTarget {
 public:
  virtual ~CaptionFormTarget() = default;
  virtual void SetCaption(const std::string& caption) = 0;
  // Ends the window's showing; no effect on a window that is already hidden.
  virtual void CloseForm() = 0;
};

class StatusLabelTarget {
 public:
  virtual ~StatusLabelTarget() = default;
  virtual void SetStatusText(const std::string& text) = 0;
};

}  // namespace rz47
