#include "app/window/win/relay_window.h"

#include "app/window/win/app_frame.h"
#include "app/window/win/guarded_window_proc.h"
#include "app/window/win/shutdown.h"
#include "app/window/win/taskbar_progress.h"
#include "app/window/win/window_class.h"

namespace tessafold {

namespace {

constexpr wchar_t kRelayClass[] = L"TessafoldRelay";

struct UiWork {
  const std::function<void()>* work;
  bool done;
};

LRESULT CALLBACK RelayProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kEndProcessMessage:
      ShutDown(static_cast<uint32_t>(wParam));
    case kRunOnUiMessage: {
      auto* item = reinterpret_cast<UiWork*>(lParam);
      (*item->work)();
      item->done = true;
      return 0;
    }
    case kTaskbarProgressMessage:
      ApplyTaskbarProgress();
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

[[noreturn]] void WaitForProcessEnd() {
  for (;;) Sleep(INFINITE);
}

}  // namespace

HWND CreateRelayWindow() {
  const wchar_t* windowClass = RegisterWindowClassOnce(kRelayClass, Guarded<RelayProc>);
  return CreateWindowExW(WS_EX_TOOLWINDOW, windowClass, L"", 0, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr),
                         nullptr);
}

void RunOnUiThread(const std::function<void()>& work) {
  const AppFrame& frame = Frame();
  if (frame.uiThreadId == 0 || GetCurrentThreadId() == frame.uiThreadId) {
    work();
    return;
  }
  UiWork item{&work, false};
  if (const HWND relay = frame.relayWindow.load()) SendMessageW(relay, kRunOnUiMessage, 0, reinterpret_cast<LPARAM>(&item));
  // Not done: the relay window is gone, so the process is ending; the work
  // must not run unguarded beside the clean-up.
  if (!item.done) WaitForProcessEnd();
}

void EndProcessThroughFrame(uint32_t exitCode) {
  const AppFrame& frame = Frame();
  if (GetCurrentThreadId() == frame.uiThreadId) ShutDown(exitCode);
  if (const HWND relay = frame.relayWindow.load()) SendMessageW(relay, kEndProcessMessage, exitCode, 0);
  ExitProcess(exitCode);
}

}  // namespace tessafold
