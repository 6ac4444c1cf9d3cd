#pragma once

#include <functional>

#include "FakeControls.h"
#include "engine/ProgressWindowControls.h"

namespace sonvarro::test {

// The progress window's controls as plain fakes. Like the real window, it
// reports FormShow when it goes from hidden to visible.
struct FakeProgressWindow {
  struct Window : FakeWindow {
    std::function<void()> onShow;
    void Show() override {
      const bool wasVisible = visible;
      FakeWindow::Show();
      if (!wasVisible && onShow) onShow();
    }
  };

  void Wire(const ProgressWindowEvents& events) { window.onShow = events.FormShow; }

  Window window;
  FakeTextField lblInfo, lblCurFileName, lblPersent, statState;
  FakeProgressBar pbTotal, ProgressBar1;
  ProgressWindowControls controls{window, lblInfo, lblCurFileName, lblPersent, pbTotal, ProgressBar1, statState};
};

}  // namespace sonvarro::test
