#include "app/window/win/taskbar_progress.h"

#include <atomic>
#include <memory>
#include <new>

#include "app/window/win/app_frame.h"
#include "app/window/win/relay_window.h"

namespace tessafold {

namespace {

std::atomic<int64_t> newestDone{0};
std::atomic<int64_t> newestTotal{0};
// One request waits on the relay window at most; it shows the newest sums.
std::atomic<bool> requestPending{false};
// Made at the first request, after the window and its button were shown.
std::unique_ptr<TaskbarButton> taskbar;

}  // namespace

TaskbarButton::TaskbarButton() {
  if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3, list_.Put())) ||
      FAILED(list_->HrInit())) {
    list_.Reset();
  }
}

bool TaskbarButton::Show(HWND window, int64_t done, int64_t total) {
  if (!list_) return true;
  if (total <= 0) return SUCCEEDED(list_->SetProgressState(window, TBPF_NOPROGRESS));
  return SUCCEEDED(list_->SetProgressState(window, TBPF_NORMAL)) &&
         SUCCEEDED(list_->SetProgressValue(window, static_cast<ULONGLONG>(done), static_cast<ULONGLONG>(total)));
}

void PostTaskbarProgress(int64_t done, int64_t total) {
  newestDone = done;
  newestTotal = total;
  if (requestPending.exchange(true)) return;
  const HWND relay = Frame().relayWindow;
  if (!relay || !PostMessageW(relay, kTaskbarProgressMessage, 0, 0)) requestPending = false;
}

void ApplyTaskbarProgress() {
  requestPending = false;
  if (!taskbar) taskbar.reset(new (std::nothrow) TaskbarButton());
  if (!taskbar) return;
  const int64_t done = newestDone, total = newestTotal;
  for (const auto& [id, window] : Frame().windows) {
    if (window->hwnd) taskbar->Show(window->hwnd, done, total);
  }
}

void ReleaseTaskbarProgress() { taskbar.reset(); }

}  // namespace tessafold
