#include <ole2.h>
#include <commctrl.h>

#include <exception>
#include <vector>

#include "app/process/fatal_error.h"
#include "app/window/start_application.h"
#include "app/window/job_progress.h"
#include "app/process/process_end.h"
#include "app/process/program_directory.h"
#include "app/process/running_marker.h"
#include "app/window/win/app_frame.h"
#include "app/window/win/relay_window.h"
#include "app/window/win/taskbar_progress.h"
#include "app/window/win/window_dpi.h"
#include "app/text/win/wide_text.h"

namespace tessafold {

namespace {

std::wstring ProgramPath() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) return std::wstring(path.data(), length);
    path.resize(path.size() * 2);
  }
}

bool EveryBindingResolved(std::span<const EventBinding> bindings) {
  for (const EventBinding& binding : bindings) {
    if (!binding.handler) return false;
  }
  return true;
}

bool LayoutsReadable(std::span<const WindowRecord> layouts) {
  if (layouts.empty()) return false;
  for (const WindowRecord& window : layouts) {
    if (!EveryBindingResolved(window.bindings)) return false;
    for (const ControlRecord& control : window.controls) {
      if (!EveryBindingResolved(control.bindings)) return false;
    }
  }
  return true;
}

// Reached, on whichever thread, when a C++ exception finds no handler.
[[noreturn]] void EndOnUncaughtException() { FatalRuntimeError(0, {}); }

}  // namespace

void RunProgram(ProgramEntryRoutine entry, std::span<const WindowRecord> layouts) {
  // A drive without a medium fails quietly instead of asking the user.
  SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  // The default would end the process silently.
  std::set_terminate(EndOnUncaughtException);
  MarkProcessRunning();
  Frame().layouts = layouts;
  entry();
  // Not back into the C runtime: its exit would run beside workers that may still be busy.
  EndProcess(0);
}

void StartApplication() {
  AppFrame& frame = Frame();
  // Before the first window: a window keeps the awareness it was made with.
  DeclareDpiAwareness();
  // The themed controls of version 6, which the manifest asks for.
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  if (!frame.oleStarted) frame.oleStarted = SUCCEEDED(OleInitialize(nullptr));

  // Relative paths then resolve against the program's folder, wherever it was started from.
  frame.programDirectory = DirectoryOfProgram(Narrow(ProgramPath()));
  SetCurrentDirectoryW(Widen(frame.programDirectory).c_str());

  // Without it no job could reach this thread: each would wait for good.
  const HWND relay = CreateRelayWindow();
  if (!relay) FatalRuntimeError(0, kStartupWindowFailedMessage);
  frame.uiThreadId = GetCurrentThreadId();
  frame.relayWindow = relay;
  SetProcessEndHandler(EndProcessThroughFrame);
  SetProgressDisplay(PostTaskbarProgress);

  if (!LayoutsReadable(frame.layouts)) FatalRuntimeError(0, kLayoutUnreadableMessage);
}

}  // namespace tessafold
