#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>

namespace tessafold {

// Private messages of the relay window.
inline constexpr UINT kEndProcessMessage = WM_APP + 999;  // wParam: the exit code
inline constexpr UINT kRunOnUiMessage = WM_APP + 998;     // lParam: the work to run
inline constexpr UINT kTaskbarProgressMessage = WM_APP + 997;

// The hidden window through which other threads reach the user interface thread.
HWND CreateRelayWindow();

// Runs the work on the user interface thread and waits for it, also while a
// modal box or dialog runs there. On that thread itself, or before the frame
// has started, the work simply runs. Once the frame is ending the calling
// worker waits for the process end instead.
void RunOnUiThread(const std::function<void()>& work);

// EndProcess as the frame handles it: on the user interface thread the orderly
// clean-up; on any other thread a request to that thread through the relay
// window, or, with no relay window left, the end at once.
[[noreturn]] void EndProcessThroughFrame(uint32_t exitCode);

}  // namespace tessafold
