#include <ole2.h>

#include "app/process/shutdown_hold.h"
#include "app/window/win/app_frame.h"
#include "app/window/win/shutdown.h"
#include "app/window/win/taskbar_progress.h"

namespace tessafold {

void ShutDown(uint32_t exitCode) {
  AppFrame& frame = Frame();
  if (frame.shutdownDone) ExitProcess(exitCode);
  frame.shutdownDone = true;

  {
    // Taken out of the table first: a window's destruction looks for itself there.
    const auto windows = std::move(frame.windows);
    frame.windows.clear();
    for (const auto& [id, window] : windows) {
      if (window->hwnd) DestroyWindow(window->hwnd);
    }
  }
  if (const HWND relay = frame.relayWindow.exchange(nullptr)) DestroyWindow(relay);
  // A file replacement in progress on a worker finishes before the end.
  WaitForShutdownHolds();
  ReleaseTaskbarProgress();
  if (frame.oleStarted) OleUninitialize();
  ExitProcess(exitCode);
}

}  // namespace tessafold
