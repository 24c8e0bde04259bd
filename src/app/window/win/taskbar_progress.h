#pragma once
#include <windows.h>
#include <shobjidl.h>

#include <cstdint>

#include "app/win/handle_owners.h"

namespace tessafold {

// Shows the jobs' progress on the taskbar buttons of the loaded windows.

// The progress display the jobs report to, from any thread: it keeps the
// newest sums and asks the user interface thread, through the relay window,
// to show them. It never waits.
void PostTaskbarProgress(int64_t done, int64_t total);

// On the user interface thread: shows the newest sums (total 0 clears them).
void ApplyTaskbarProgress();

// On the user interface thread, at the end: lets go of the taskbar.
void ReleaseTaskbarProgress();

// The taskbar button of one window. Made on the user interface thread once
// the button exists; without the taskbar's interface (an old Windows, a
// missing shell) it does nothing. False when a call was refused.
class TaskbarButton {
 public:
  TaskbarButton();
  TaskbarButton(const TaskbarButton&) = delete;
  TaskbarButton& operator=(const TaskbarButton&) = delete;

  bool Available() const { return static_cast<bool>(list_); }
  bool Show(HWND window, int64_t done, int64_t total);

 private:
  ComPtr<ITaskbarList3> list_;
};

}  // namespace tessafold
