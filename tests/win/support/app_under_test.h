#pragma once
// Drives the real tessafold.exe from outside its process, as a user would:
// start it, find its window and controls, read and set texts, click, press
// keys, answer message boxes, and wait for its exit code.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "app/text/win/wide_text.h"
#include "child_process.h"
#include "common/deadline.h"

namespace e2e {

using tessafold::Widen;
using tessafold::testing::kWaitMs;
using tessafold::testing::WaitUntil;

inline constexpr wchar_t kMainWindowTitle[] = L"Tessafoldv1.1";

class AppUnderTest {
 public:
  // Starts the program in workingDirectory (the test's own when empty) and
  // waits until its main window or a fatal error box is visible. Started()
  // tells whether the window came up.
  explicit AppUnderTest(std::wstring workingDirectory = {}, std::wstring program = ProgramPath(),
                        std::wstring_view arguments = {});
  AppUnderTest(const AppUnderTest&) = delete;
  AppUnderTest& operator=(const AppUnderTest&) = delete;

  bool Started() const { return window_ != nullptr; }
  HWND Window() const { return window_; }
  DWORD ProcessId() const { return process_.Id(); }
  HANDLE Process() const { return process_.Handle(); }

  // The child window of the main window with this control id, or null.
  HWND Control(int controlId) const;
  std::wstring ControlText(int controlId) const;
  // WM_SETTEXT, as typing a whole new text would leave it.
  void SetControlText(int controlId, std::wstring_view text) const;
  bool ControlEnabled(int controlId) const;

  // Clicks a button without waiting for what the click starts (a dialog or a
  // message box may open on the program's thread).
  void Click(int controlId) const;

  // Makes the main window the foreground window and types one key through the
  // system's input queue, so the program's own keyboard handling sees it.
  void PressKey(WORD virtualKey, bool withShift = false) const;
  // The window that has the keyboard focus on the program's thread.
  HWND FocusedWindow() const;

  // A visible message box (or other dialog) of this process with that title.
  HWND WaitForDialog(std::wstring_view title, DWORD timeoutMs = kWaitMs) const;
  HWND FindDialog(std::wstring_view title) const;
  // The text of a standard message box (its static with id 0xFFFF).
  static std::wstring MessageBoxText(HWND box);
  // Presses a message box's button (IDOK, IDCANCEL, ...).
  static void AnswerMessageBox(HWND box, int buttonId = IDOK);

  // Closes the main window as the title bar's close button does.
  void Close() const;
  // The exit code once the process has ended within the time, else nothing.
  std::optional<DWORD> WaitForExit(DWORD timeoutMs = kWaitMs) const { return process_.WaitForExit(timeoutMs); }

 private:
  ChildProcess process_;  // ended when the object goes, if it still runs
  HWND window_ = nullptr;
  DWORD uiThreadId_ = 0;
};

}  // namespace e2e
