#pragma once
// Programs started by the tests and their windows, seen from outside the
// process as a user, or a crash, meets them.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

// A program in the folder of the running test program, where all are built.
std::wstring ProgramPath(std::wstring_view name = L"tessafold.exe");

// The path in double quotes, as one argument of a command line.
std::wstring Quoted(const std::wstring& path);

// Text of any window through wide WM_GETTEXT, which crosses processes.
std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);

// A visible top-level window of the process for which matches(window) holds, or null.
HWND FindProcessWindow(DWORD processId, const std::function<bool(HWND)>& matches);
// The same by its exact title, read without a message to the process, which
// may be too busy to answer.
HWND FindProcessWindow(DWORD processId, std::wstring_view title);

// What `paint` draws on a bitmap of that size (it may copy from `screen`),
// top-down; and what the screen shows in a rectangle of that size at `at`.
std::vector<COLORREF> Pixels(int width, int height, const std::function<void(HDC memory, HDC screen)>& paint);
std::vector<COLORREF> ScreenPixels(POINT at, int width, int height);

// A program started by the test, which it may also kill hard, as a crash, the
// task manager or a power cut would end it.
class ChildProcess {
 public:
  ChildProcess(const std::wstring& program, std::wstring_view arguments, const std::wstring& workingDirectory = {});
  ~ChildProcess();  // kills the process if it still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return info_.hProcess != nullptr; }
  DWORD Id() const { return info_.dwProcessId; }
  HANDLE Handle() const { return info_.hProcess; }
  bool Running() const;
  // TerminateProcess, then waits until the process is gone; true when it
  // was still running, so the kill cut it off.
  bool Kill();
  std::optional<DWORD> WaitForExit(DWORD timeoutMs) const;
  HWND FindWindowTitled(std::wstring_view title) const { return Started() ? FindProcessWindow(Id(), title) : nullptr; }

 private:
  PROCESS_INFORMATION info_{};
};

}  // namespace e2e

namespace faults {
using e2e::ChildProcess;
using e2e::Quoted;
}  // namespace faults
